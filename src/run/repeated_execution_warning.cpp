// Finding an earlier execution of the folder's record that the one starting repeats.
#include "run/repeated_execution_warning.h"

#include <optional>
#include <vector>

#include "results/execution_log.h"
#include "support/bounded_file.h"
#include "support/printable_text.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

// The starting execution as the record's reader sees a line, so that "the same" means what it means
// to the report. Its runs are not made yet; the reader accepts a record without all its runs only
// as one stopped by a signal, so it stands as such, with one empty run: none of that is compared.
std::optional<LoggedExecution> asLogged(const ExecutionRecord& starting) {
  ExecutionRecord probe = starting;
  probe.runs.assign(1, RunSummary{});
  probe.exitStatus = 130;
  std::vector<std::string> problems;
  ExecutionLog parsed = parseExecutionLog(executionRecordLine(probe), problems);
  if (parsed.executions.size() != 1) return std::nullopt;
  LoggedExecution execution = std::move(parsed.executions.front());
  execution.number = 0;  // not one of the log's, so that every earlier line is compared
  return execution;
}

}  // namespace

std::string repeatedExecutionWarning(const std::string& logText, const ExecutionRecord& starting) {
  std::vector<std::string> problems;
  const ExecutionLog log = parseExecutionLog(logText, problems);
  if (!problems.empty() || log.brokenLine) return "";
  const std::optional<LoggedExecution> execution = asLogged(starting);
  if (!execution) return "";
  const std::optional<int> earlier = repeatedExecution(log, *execution);
  if (!earlier) return "";
  const LoggedExecution& first = log.executions.at(static_cast<std::size_t>(*earlier - 1));
  std::string warning = "Aviso: esta ejecución repite la de la línea " +
                        std::to_string(first.line) + " de " + kExecutionRecordFileName;
  if (!first.started.empty())
    warning += " (iniciada el " + printablePrefix(first.started, 40).text + ")";
  warning +=
      ", con la misma semilla, reloj, instancia, parámetros y versión: sus ejecuciones serán "
      "copias exactas de aquellas";
  if (interrupted(first)) warning += " hasta donde llegaron";
  return warning + "\n";
}

std::optional<std::string> readRecordForWarning(const std::string& path) {
  return readWholeFile(path, kMaxRecordFileBytes);
}

}  // namespace jobshop
