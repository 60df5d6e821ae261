// The per-run table as comma-separated values, one row per aligned run, for spreadsheets and
// scripts.
#include "report/report_csv.h"

#include <algorithm>
#include <cstdio>

#include "analysis/run_summary.h"
#include "input/parameter_table.h"
#include "report/measure_fields.h"
#include "support/csv_row.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

std::vector<std::string> parameterColumns(const ExecutionLog& log) {
  // The file's fields first, so that the header stays the same whether or not there is a record.
  std::vector<std::string> names;
  names.reserve(kParameterFields.size());
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

template <typename Number>
std::string orEmpty(const std::optional<Number>& value) {
  return value ? std::to_string(*value) : std::string();
}

// Empty for a record written before the field existed.
std::string trueOrFalse(const std::optional<bool>& value) {
  return value ? csvBoolean(*value) : std::string();
}

// Empty only when the record says nothing of it: neither the run nor its execution's exit status.
std::string cutField(const RunRecord& run, const LoggedExecution& execution) {
  if (!run.logged->cut && !execution.exitStatus) return {};
  return csvBoolean(run.cut);
}

std::string seconds(const std::optional<double>& value) {
  if (!value) return {};
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", *value);
  return text;
}

const char* const kFixedColumns[] = {"run",
                                     "bestMakespan",
                                     "reachedTarget",
                                     "distinctOptima",
                                     "averageDistance",
                                     "improvingGenerations",
                                     "lastImprovingGeneration",
                                     "enumeratedOptima",
                                     "enumerationBound",
                                     "enumerationComplete",
                                     "foundOfEnumerated",
                                     "execution",
                                     "seed",
                                     "clock",
                                     "seedGiven",
                                     "wallClock",
                                     "started",
                                     "version",
                                     "seconds",
                                     "generations",
                                     "evaluations",
                                     "targetGeneration",
                                     "cut",
                                     "abandonedGeneration",
                                     "exitStatus",
                                     "repeatsRun"};

// What the results files say of the run.
void addResultFields(const RunRecord& run, const RunFigures& figures,
                     std::vector<std::string>& fields) {
  fields.push_back(std::to_string(run.run));
  fields.push_back(fixedNumber(run.best, 1));
  fields.push_back(csvBoolean(run.reachedTarget));
  fields.push_back(run.distinctOptima ? std::to_string(*run.distinctOptima) : "");
  fields.push_back(run.averageDistance ? fixedNumber(*run.averageDistance, 2) : "");
  fields.push_back(std::to_string(figures.improvingGenerations));
  fields.push_back(std::to_string(figures.lastImprovingGeneration));
}

// The same for every run but foundOfEnumerated, so that a table of many folders' rows keeps them.
void addEnumerationFields(const std::optional<OptimaCoverage>& coverage, std::size_t runIndex,
                          std::vector<std::string>& fields) {
  if (!coverage) {
    fields.insert(fields.end(), 4, "");
    return;
  }
  const EnumeratedOptima& enumeration = coverage->enumeration;
  fields.push_back(std::to_string(enumeration.count));
  fields.push_back(std::to_string(enumeration.bound));
  fields.push_back(csvBoolean(enumeration.complete));
  fields.push_back(coverage->listed ? std::to_string(coverage->foundByRun[runIndex]) : "");
}

void addRecordedFields(const RunRecord& run, const ExecutionLog& log,
                       const std::vector<std::string>& parameters,
                       std::vector<std::string>& fields) {
  const LoggedExecution* execution =
      run.logged && run.execution >= 1
          ? &log.executions[static_cast<std::size_t>(run.execution - 1)]
          : nullptr;
  if (execution == nullptr) {
    fields.insert(fields.end(), 15 + parameters.size(), "");
    return;
  }
  const LoggedRun& logged = *run.logged;
  fields.insert(
      fields.end(),
      {std::to_string(execution->number), orEmpty(execution->seed), execution->clock,
       csvBoolean(execution->seedGiven), csvBoolean(execution->wallClock), execution->started,
       execution->version, seconds(logged.seconds), orEmpty(logged.generations),
       orEmpty(logged.evaluations), orEmpty(logged.targetGeneration), cutField(run, *execution),
       trueOrFalse(logged.abandonedGeneration), orEmpty(execution->exitStatus),
       run.repeatOf != 0 ? std::to_string(run.repeatOf) : ""});
  for (const std::string& name : parameters) {
    std::string value;
    for (const auto& parameter : execution->parameters) {
      if (parameter.first == name) value += parameter.second;
    }
    fields.push_back(value);
  }
}

}  // namespace

std::string reportCsv(const std::vector<RunRecord>& runs, const std::vector<RunFigures>& figures,
                      const ExecutionLog& log, const std::optional<OptimaCoverage>& coverage,
                      const std::vector<std::optional<NichingMeasures>>& measures) {
  const std::vector<std::string> parameters = parameterColumns(log);
  std::vector<std::string> header(std::begin(kFixedColumns), std::end(kFixedColumns));
  header.insert(header.end(), parameters.begin(), parameters.end());
  const std::vector<std::string> measureNames = measureColumns();
  header.insert(header.end(), measureNames.begin(), measureNames.end());
  std::string csv = csvRow(header);
  for (std::size_t r = 0; r < runs.size(); ++r) {
    std::vector<std::string> fields;
    addResultFields(runs[r], figures[r], fields);
    addEnumerationFields(coverage, r, fields);
    addRecordedFields(runs[r], log, parameters, fields);
    addMeasureFields(measures[r], fields);
    csv += csvRow(fields);
  }
  return csv;
}

}  // namespace jobshop
