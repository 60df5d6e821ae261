// The runs' own values beside what their execution was planned with; "" where a run recorded none.
#include "report/collected_runs_csv.h"

#include "input/niching_fields.h"
#include "input/parameter_table.h"
#include "report/measure_fields.h"
#include "support/csv_row.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

// The method, then each setting of it as planned; "" for another method's, or for a default the
// run resolves from the instance or the population.
std::vector<std::string> nichingCells(const NichingSettings& niching) {
  std::vector<std::string> cells{nichingMethodName(niching.method)};
  for (const NichingField& field : kNichingFields) {
    const std::optional<double> value = heldValue(niching, field.setting);
    cells.push_back(field.method == niching.method && value ? nichingValueText(*value) : "");
  }
  return cells;
}

}  // namespace

std::string collectedRunsCsv(const CampaignAnalysis& analysis) {
  auto cell = [](const auto& value) -> std::string {
    if (!value) return "";
    return fixedNumber(static_cast<double>(*value), 0);
  };
  std::vector<std::string> header = {"instance",
                                     "setting",
                                     "repetition",
                                     "seed",
                                     "run",
                                     "target",
                                     "bestMakespan",
                                     "reachedTarget",
                                     "distinctOptima",
                                     "averageDistance",
                                     "generations",
                                     "evaluations",
                                     "targetGeneration",
                                     "targetEvaluations",
                                     "seconds"};
  for (const ParameterField& field : kParameterFields) header.push_back(field.name);
  header.emplace_back("niching");
  for (const NichingField& field : kNichingFields) header.emplace_back(field.name);
  for (const std::string& name : measureColumns()) header.push_back(name);
  std::string text = csvRow(header);
  for (const CollectedRun& run : analysis.runs) {
    const CampaignExecution& e = *run.execution;
    std::vector<std::string> cells = {
        e.instance,
        e.setting,
        std::to_string(e.repetition),
        std::to_string(e.seed),
        std::to_string(run.run),
        std::to_string(e.target),
        fixedNumber(run.bestMakespan, 1),
        csvBoolean(run.reachedTarget),
        std::to_string(run.distinctOptima),
        run.averageDistance ? fixedNumber(*run.averageDistance, 2) : "",
        cell(run.generations),
        cell(run.evaluations),
        cell(run.targetGeneration),
        cell(run.targetEvaluations),
        run.seconds ? fixedNumber(*run.seconds, 3) : ""};
    for (const ParameterField& field : kParameterFields)
      cells.push_back(std::to_string(field.valueIn(e.parameters)));
    for (std::string& niching : nichingCells(e.parameters.niching)) cells.push_back(niching);
    addMeasureFields(run.measures, cells);
    text += csvRow(cells);
  }
  return text;
}

}  // namespace jobshop
