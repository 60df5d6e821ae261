// The per-run table as comma-separated values, one row per aligned run, for spreadsheets and
// scripts.
#include "report/report_csv.h"

#include <algorithm>
#include <cstdio>

#include "input/parameter_table.h"
#include "report/run_summary.h"

namespace jobshop {

namespace {

std::vector<std::string> parameterColumns(const ExecutionLog& log) {
  // The file's fields first, so that the header stays the same whether or not there is a record.
  std::vector<std::string> names;
  for (const ParameterField& field : kParameterFields) names.push_back(field.name);
  for (const LoggedExecution& execution : log.executions) {
    for (const auto& parameter : execution.parameters) {
      if (std::find(names.begin(), names.end(), parameter.first) == names.end()) {
        names.push_back(parameter.first);
      }
    }
  }
  return names;
}

// Quoted only when needed, so that ordinary values stay plain.
std::string csvField(const std::string& value) {
  if (value.find_first_of(",\"\n") == std::string::npos) return value;
  std::string quoted = "\"";
  for (char c : value) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

template <typename Number>
std::string orEmpty(const std::optional<Number>& value) {
  return value ? std::to_string(*value) : std::string();
}

// Empty for a record written before the field existed.
std::string trueOrFalse(const std::optional<bool>& value) {
  if (!value) return {};
  return *value ? "true" : "false";
}

std::string seconds(const std::optional<double>& value) {
  if (!value) return {};
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", *value);
  return text;
}

std::string recordedCells(const RunRecord& run, const ExecutionLog& log,
                          const std::vector<std::string>& parameters) {
  const LoggedExecution* execution =
      run.logged && run.execution >= 1
          ? &log.executions[static_cast<std::size_t>(run.execution - 1)]
          : nullptr;
  if (execution == nullptr) return std::string(13 + parameters.size(), ',');
  const LoggedRun& logged = *run.logged;
  const std::string values[] = {std::to_string(execution->number),
                                orEmpty(execution->seed),
                                csvField(execution->clock),
                                execution->seedGiven ? "true" : "false",
                                execution->wallClock ? "true" : "false",
                                csvField(execution->started),
                                csvField(execution->version),
                                seconds(logged.seconds),
                                orEmpty(logged.generations),
                                orEmpty(logged.evaluations),
                                orEmpty(logged.targetGeneration),
                                trueOrFalse(logged.cut),
                                trueOrFalse(logged.abandonedGeneration)};
  std::string cells;
  for (const std::string& value : values) {
    cells += ',';
    cells += value;
  }
  for (const std::string& name : parameters) {
    cells += ",";
    for (const auto& parameter : execution->parameters) {
      if (parameter.first == name) cells += csvField(parameter.second);
    }
  }
  return cells;
}

// The same for every run but foundOfEnumerated, so that a table of many folders' rows keeps them.
std::string enumerationCells(const std::optional<OptimaCoverage>& coverage, std::size_t runIndex) {
  if (!coverage) return ",,,,";
  const EnumeratedOptima& enumeration = coverage->enumeration;
  std::string cells = ",";
  cells += std::to_string(enumeration.count);
  cells += ',';
  cells += std::to_string(enumeration.bound);
  cells += enumeration.complete ? ",true," : ",false,";
  if (coverage->listed) cells += std::to_string(coverage->foundByRun[runIndex]);
  return cells;
}

}  // namespace

std::string reportCsv(const std::vector<RunRecord>& runs, const ExecutionLog& log,
                      const std::optional<OptimaCoverage>& coverage) {
  const std::vector<std::string> parameters = parameterColumns(log);
  std::string csv =
      "run,best_makespan,reached_target,distinct_optima,average_distance,improving_generations,"
      "last_improving_generation,enumeratedOptima,enumerationBound,enumerationComplete,"
      "foundOfEnumerated,execution,seed,clock,seedGiven,wallClock,started,version,seconds,"
      "generations,evaluations,targetGeneration,cut,abandonedGeneration";
  for (const std::string& name : parameters) csv += "," + name;
  csv += "\n";
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const RunRecord& run = runs[r];
    const RunFigures figures = runFigures(run);
    char best[64];
    std::snprintf(best, sizeof best, "%.1f", run.best);
    char distance[64] = "";
    if (run.averageDistance) std::snprintf(distance, sizeof distance, "%.2f", *run.averageDistance);
    csv += std::to_string(run.run) + "," + best + "," + (run.reachedTarget ? "yes" : "no") + "," +
           (run.distinctOptima ? std::to_string(*run.distinctOptima) : "") + "," + distance + "," +
           std::to_string(figures.improvingGenerations) + "," +
           std::to_string(figures.lastImprovingGeneration) + enumerationCells(coverage, r) +
           recordedCells(run, log, parameters) + "\n";
  }
  return csv;
}

}  // namespace jobshop
