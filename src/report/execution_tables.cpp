// What "executions.jsonl" says about each execution, as an HTML table: one column per execution,
// one row per field (start, version, seed, clock, runs, then every parameter and the niching
// method).
#include "report/execution_tables.h"

#include <algorithm>
#include <set>

#include "input/niching_fields.h"
#include "report/estimate_markup.h"
#include "report/markup.h"

namespace jobshop {

namespace {

// A value that breaks nowhere: a timestamp, a version or an option torn at a hyphen reads as two.
std::string whole(const std::string& markup) {
  return "<span class=\"whole\">" + markup + "</span>";
}

// Seeds stay ungrouped, as they are typed back on the command line.
std::string seedCell(const LoggedExecution& execution) {
  if (!execution.seed) return execution.wallClock ? "none (wall clock)" : "none";
  return whole(std::to_string(*execution.seed)) + (execution.seedGiven
                                                       ? " (given with " + whole("--seed") + ")"
                                                       : std::string(" (chosen by the program)"));
}

// First and last run number (in the result files) that an execution accounts for.
std::string runRange(const LoggedExecution& execution, const std::vector<RunRecord>& runs) {
  int first = 0;
  int last = 0;
  for (const RunRecord& run : runs) {
    if (run.execution != execution.number) continue;
    if (first == 0) first = run.run;
    last = run.run;
  }
  if (first == 0) return "none matched";
  return first == last ? std::to_string(first)
                       : std::to_string(first) + "&#8211;" + std::to_string(last);
}

std::vector<std::string> parameterNames(const ExecutionLog& log) {
  std::vector<std::string> names;
  for (const LoggedExecution& execution : log.executions) {
    for (const auto& parameter : execution.parameters) {
      if (std::find(names.begin(), names.end(), parameter.first) == names.end()) {
        names.push_back(parameter.first);
      }
    }
  }
  return names;
}

std::string valueOf(const LoggedExecution& execution, const std::string& name) {
  for (const auto& parameter : execution.parameters) {
    if (parameter.first == name) return parameter.second;
  }
  return {};
}

// A whole number as people read it ("50,000"); any other value as the record holds it.
std::string parameterText(const std::string& value) {
  const std::size_t sign = value.starts_with('-') ? 1 : 0;
  const bool whole =
      value.size() > sign && std::all_of(value.begin() + static_cast<std::ptrdiff_t>(sign),
                                         value.end(), [](char c) { return c >= '0' && c <= '9'; });
  return whole ? groupedDigits(value) : escapeMarkup(value);
}

// "clearing (clearingRadius 4, clearingCapacity 1)": the method and the values its run used.
std::string nichingText(const LoggedExecution& execution) {
  const NichingSettings& niching = execution.niching;
  std::string settings;
  for (const NichingField& field : kNichingFields) {
    const std::optional<double> value = heldValue(niching, field.setting);
    if (field.method != niching.method || !value) continue;
    settings +=
        (settings.empty() ? "" : ", ") + std::string(field.name) + " " + nichingValueText(*value);
  }
  const std::string method = nichingMethodName(niching.method);
  return settings.empty() ? method : method + " (" + settings + ")";
}

// How the execution ended: a signal's exit status says which signal and how far it got.
std::string exitText(const LoggedExecution& execution) {
  if (!execution.exitStatus) return "not recorded";
  std::string status = std::to_string(*execution.exitStatus);
  if (!interrupted(execution)) return status;
  const std::int64_t recorded = static_cast<std::int64_t>(execution.runs.size());
  std::string text =
      status + ": stopped by " + (*execution.exitStatus == 130 ? "SIGINT" : "SIGTERM") + ", ";
  if (!execution.runCount) return text + countOf(recorded, "run", "runs") + " recorded";
  // The main run makes one run whatever smaller count it is given.
  const std::int64_t planned = std::max<std::int64_t>(*execution.runCount, 1);
  return text + groupedNumber(recorded) + " of " + countOf(planned, "run", "runs") + " recorded";
}

std::string repeatText(const LoggedExecution& execution,
                       const std::vector<ExecutionRepeat>& repeats) {
  for (const ExecutionRepeat& repeat : repeats) {
    if (repeat.execution != execution.number) continue;
    std::string text = "repeats execution " + std::to_string(repeat.earlier);
    if (repeat.runs == 0) return text;
    text += ": ";
    if (repeat.copies == repeat.runs) return text + "its runs are copies";
    if (repeat.copies == 0) return text + "none of its runs is a copy";
    return text + groupedNumber(repeat.copies) + " of its " + countOf(repeat.runs, "run", "runs") +
           (repeat.copies == 1 ? " is a copy" : " are copies");
  }
  return "no";
}

// The rows whose setting is not the same in every execution: the version, the clock, each
// parameter and the niching method, by their labels. A run's seed differs by design and is left
// out.
std::set<std::string> differingSettings(const ExecutionLog& log) {
  std::set<std::string> differing;
  if (log.executions.size() < 2) return differing;
  auto compare = [&](const std::string& label, auto valueOfExecution) {
    for (const LoggedExecution& execution : log.executions) {
      if (valueOfExecution(execution) != valueOfExecution(log.executions.front()))
        differing.insert(label);
    }
  };
  compare("version", [](const LoggedExecution& e) { return e.version; });
  compare("clock", [](const LoggedExecution& e) { return e.clock; });
  for (const std::string& name : parameterNames(log))
    compare(name, [&name](const LoggedExecution& e) { return valueOf(e, name); });
  compare("niching", [](const LoggedExecution& e) { return nichingText(e); });
  return differing;
}

std::string measuresCell(const std::optional<EnumerationMeasures>& measures) {
  return measures ? enumerationMeasuresCell(*measures) : std::string("no counted run");
}

}  // namespace

std::string executionsSection(
    const ExecutionLog& log, const std::vector<RunRecord>& runs,
    const std::vector<ExecutionRepeat>& repeats,
    const std::vector<std::optional<EnumerationMeasures>>& measuresByExecution) {
  std::string html = "<section id=\"executions\"><h2>Executions</h2>";
  if (!log.present) {
    return html + "<p class=\"note\">This folder has no " + kExecutionRecordFileName +
           " (written by later versions of the program), so seeds, parameters, run times and "
           "when each run ended are not known.</p></section>";
  }
  const std::size_t covered = static_cast<std::size_t>(
      std::count_if(runs.begin(), runs.end(), [](const RunRecord& run) { return run.logged; }));
  html += "<p class=\"note\">As recorded in " + std::string(kExecutionRecordFileName) +
          ", one column per execution.";
  if (covered < runs.size()) {
    html +=
        " It accounts for " + groupedNumber(static_cast<std::int64_t>(covered)) + " of the " +
        groupedNumber(static_cast<std::int64_t>(runs.size())) +
        " runs; the others come from executions that left no record (killed before they could "
        "write it, or run with --no-record" +
        (log.brokenLine ? ", or runs after its unreadable line " + groupedNumber(*log.brokenLine)
                        : std::string()) +
        ") and are marked \"no record\" in the runs table.";
  }
  if (!differingSettings(log).empty()) {
    html +=
        " <span class=\"differs\">Highlighted</span> rows are settings that differ between "
        "the executions.";
  }
  html += "</p>";
  if (log.executions.empty()) return html + "</section>";
  html += "<div class=\"scroll\"><table class=\"executions\"><thead><tr><th></th>";
  for (const LoggedExecution& execution : log.executions) {
    html += "<th>execution " + std::to_string(execution.number) + "</th>";
  }
  html += "</tr></thead><tbody>";
  const std::set<std::string> differing = differingSettings(log);
  auto row = [&](const std::string& label, auto cellOf) {
    html += std::string(differing.contains(label) ? "<tr class=\"differs\">" : "<tr>") + "<th>" +
            escapeMarkup(label) + "</th>";
    for (const LoggedExecution& execution : log.executions) {
      html += "<td>" + cellOf(execution) + "</td>";
    }
    html += "</tr>";
  };
  row("record line", [](const LoggedExecution& e) { return groupedNumber(e.line); });
  row("runs in the result files", [&runs](const LoggedExecution& e) { return runRange(e, runs); });
  row("exit status", [](const LoggedExecution& e) { return exitText(e); });
  row("repeat", [&](const LoggedExecution& e) { return repeatText(e, repeats); });
  if (!measuresByExecution.empty()) {
    row("peak ratio / success rate", [&](const LoggedExecution& e) {
      return measuresCell(measuresByExecution[static_cast<std::size_t>(e.number - 1)]);
    });
  }
  row("started (UTC)", [](const LoggedExecution& e) { return whole(escapeMarkup(e.started)); });
  row("version", [](const LoggedExecution& e) { return whole(escapeMarkup(e.version)); });
  row("seed", [](const LoggedExecution& e) { return seedCell(e); });
  row("clock", [](const LoggedExecution& e) { return whole(escapeMarkup(e.clock)); });
  for (const std::string& name : parameterNames(log)) {
    row(name, [&name](const LoggedExecution& e) { return whole(parameterText(valueOf(e, name))); });
  }
  row("niching", [](const LoggedExecution& e) { return escapeMarkup(nichingText(e)); });
  html += "</tbody></table></div></section>";
  return html;
}

}  // namespace jobshop
