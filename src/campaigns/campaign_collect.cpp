// Reading back the finished executions and summarising each (instance, setting).
#include "campaigns/campaign_collect.h"

#include <map>

#include "campaigns/campaign_file.h"
#include "campaigns/execution_state.h"
#include "campaigns/parameter_fields.h"
#include "input/input_error.h"
#include "input/instance_reader.h"
#include "report/markup.h"
#include "report/optimum_union.h"
#include "report/result_records.h"

namespace {

template <class T>
std::optional<double> asDouble(const std::optional<T>& value) {
  if (!value) return std::nullopt;
  return static_cast<double>(*value);
}

std::optional<double> medianOf(const std::vector<double>& values) {
  const std::optional<Spread> spread = spreadOf(values);
  if (!spread) return std::nullopt;
  return spread->median;
}

std::optional<double> meanOf(const std::vector<double>& values) {
  const std::optional<Spread> spread = spreadOf(values);
  if (!spread) return std::nullopt;
  return spread->mean;
}

struct SettingRuns {
  SettingSummary summary;
  std::vector<RunRecord> records;  // every run of every finished execution, for the union
  std::vector<double> seconds;     // per execution
};

CollectedRun collectedRun(const PlannedExecution& execution, const RunRecord& record, int run) {
  CollectedRun collected;
  collected.execution = &execution;
  collected.run = run;
  collected.bestMakespan = record.best;
  collected.reachedTarget = record.reachedTarget;
  collected.distinctOptima = record.distinctOptima.value_or(0);
  collected.averageDistance = record.averageDistance;
  if (record.logged) {
    collected.generations = record.logged->generations;
    collected.evaluations = record.logged->evaluations;
    collected.targetGeneration = record.logged->targetGeneration;
    collected.targetEvaluations = record.logged->targetEvaluations;
    collected.seconds = record.logged->seconds;
  }
  return collected;
}

void summarise(SettingRuns& group, const std::vector<CollectedRun>& runs) {
  SettingSummary& s = group.summary;
  std::vector<double> bests, optima, distances, generations, evaluations;
  for (const CollectedRun& run : runs) {
    ++s.runs;
    bests.push_back(run.bestMakespan);
    if (run.reachedTarget) {
      ++s.runsReachingTarget;
      optima.push_back(run.distinctOptima);
      if (run.targetGeneration) generations.push_back(static_cast<double>(*run.targetGeneration));
      if (run.targetEvaluations) evaluations.push_back(static_cast<double>(*run.targetEvaluations));
    }
    if (run.averageDistance) distances.push_back(*run.averageDistance);
  }
  s.successInterval = wilsonInterval(s.runsReachingTarget, s.runs);
  s.bestMakespans = spreadOf(bests);
  s.distinctOptimaPerRun = spreadOf(optima);
  s.meanAverageDistance = meanOf(distances);
  s.medianTargetGeneration = medianOf(generations);
  s.medianTargetEvaluations = medianOf(evaluations);
  s.secondsPerExecution = meanOf(group.seconds);
  s.distinctSchedules = static_cast<int>(uniteOptima(group.records).schedules.size());
}

}  // namespace

CampaignCollection collectCampaign(const std::string& campaignFolder,
                                   const std::vector<PlannedExecution>& executions) {
  CampaignCollection collection;
  std::vector<SettingRuns> groups;
  std::map<std::string, std::size_t> groupOf;
  std::vector<std::vector<CollectedRun>> groupRuns;
  for (const PlannedExecution& e : executions) {
    const std::string key = e.instance + "/" + e.setting;
    auto [where, added] = groupOf.try_emplace(key, groups.size());
    if (added) {
      groups.emplace_back();
      groupRuns.emplace_back();
      groups.back().summary.instance = e.instance;
      groups.back().summary.setting = e.setting;
      groups.back().summary.example = &e;
    }
    SettingRuns& group = groups[where->second];
    ++group.summary.planned;
    const std::string folder = campaignFolder + e.folder + "/";
    if (executionState(folder) != ExecutionState::kDone) {
      group.summary.unfinished.push_back(e.folder);
      continue;
    }
    ResultRecords records;
    try {
      records = loadResultRecords(folder, readInstance(folder + "D_Entrada.txt"));
    } catch (const InputError& error) {
      collection.problems.push_back(e.folder + ": " + error.message);
      group.summary.unfinished.push_back(e.folder);
      continue;
    }
    for (const std::string& problem : records.problems)
      collection.problems.push_back(e.folder + ": " + problem);
    ++group.summary.finished;
    double seconds = 0;
    bool timed = !records.runs.empty();
    for (std::size_t k = 0; k < records.runs.size(); ++k) {
      const CollectedRun run = collectedRun(e, records.runs[k], static_cast<int>(k) + 1);
      if (run.seconds)
        seconds += *run.seconds;
      else
        timed = false;
      groupRuns[where->second].push_back(run);
      collection.runs.push_back(run);
      group.records.push_back(records.runs[k]);
    }
    if (timed) group.seconds.push_back(seconds);
  }
  for (std::size_t g = 0; g < groups.size(); ++g) {
    summarise(groups[g], groupRuns[g]);
    collection.settings.push_back(std::move(groups[g].summary));
  }
  return collection;
}

std::string collectedRunsCsv(const CampaignCollection& collection) {
  auto cell = [](const auto& value) -> std::string {
    if (!value) return "";
    return fixedNumber(static_cast<double>(*value), 0);
  };
  std::string text =
      "instance,setting,repetition,seed,run,target,bestMakespan,reachedTarget,distinctOptima,"
      "averageDistance,generations,evaluations,targetGeneration,targetEvaluations,seconds";
  for (const char* name : kParameterFieldNames) {
    text += ',';
    text += name;
  }
  text += '\n';
  for (const CollectedRun& run : collection.runs) {
    const PlannedExecution& e = *run.execution;
    std::vector<std::string> cells = {
        e.instance,
        e.setting,
        std::to_string(e.repetition),
        std::to_string(e.seed),
        std::to_string(run.run),
        std::to_string(e.target),
        fixedNumber(run.bestMakespan, 1),
        run.reachedTarget ? "true" : "false",
        std::to_string(run.distinctOptima),
        run.averageDistance ? fixedNumber(*run.averageDistance, 2) : "",
        cell(run.generations),
        cell(run.evaluations),
        cell(run.targetGeneration),
        cell(run.targetEvaluations),
        run.seconds ? fixedNumber(*run.seconds, 3) : ""};
    for (int field = 0; field < kParameterFieldCount; ++field)
      cells.push_back(std::to_string(parameterField(e.parameters, field)));
    for (std::size_t i = 0; i < cells.size(); ++i) {
      text += cells[i];
      text += i + 1 < cells.size() ? ',' : '\n';
    }
  }
  return text;
}
