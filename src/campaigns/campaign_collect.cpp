// Reading back the finished executions and summarising each (instance, setting).
#include "campaigns/campaign_collect.h"

#include <map>

#include "analysis/optima_coverage.h"
#include "analysis/optimum_union.h"
#include "analysis/schedule_incidence.h"
#include "campaigns/campaign_file.h"
#include "campaigns/execution_state.h"
#include "input/input_error.h"
#include "input/instance_reader.h"
#include "input/parameter_table.h"
#include "report/markup.h"
#include "results/optima_file.h"
#include "results/result_records.h"
#include "support/csv_row.h"

namespace jobshop {

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
  // Every run of every finished execution, for the union, numbered through the setting (copies
  // name their originals by these numbers too), so that each run is one sample.
  std::vector<RunRecord> records;
  std::optional<Instance> instance;  // of the first finished execution
  std::vector<double> seconds;       // per execution
  std::vector<CollectedRun> runs;
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
  std::vector<double> bests;
  std::vector<double> optima;
  std::vector<double> distances;
  std::vector<double> generations;
  std::vector<double> evaluations;
  for (const CollectedRun& run : runs) {
    ++s.runs;
    bests.push_back(run.bestMakespan);
    if (run.reachedTarget) {
      ++s.runsReachingTarget;
      optima.push_back(run.distinctOptima);
      s.optimaPerSuccessfulRun.push_back(run.distinctOptima);
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
}

// Matches the setting's distinct optimal schedules against the enumeration of its instance.
void compareWithEnumeration(SettingSummary& s, const std::vector<SharedOptimum>& found,
                            const EnumeratedOptima& enumerated,
                            std::vector<std::string>& problems) {
  s.enumeratedOptima = enumerated.count;
  s.enumerationComplete = enumerated.complete;
  // A list cut short holds an arbitrary part of the schedules: matching against it would
  // understate what the runs found.
  if (enumerated.listFile.empty() || !enumerated.complete) return;
  int matched = 0;
  for (const SharedOptimum& schedule : found) {
    if (enumerated.schedules.contains(schedule.sequences)) {
      ++matched;
    } else if (enumerated.complete && schedule.makespan <= enumerated.bound) {
      ++s.missingFromEnumeration;
    }
  }
  s.foundOfEnumerated = matched;
  if (s.missingFromEnumeration > 0)
    problems.push_back(s.instance + "/" + s.setting + ": " +
                       std::to_string(s.missingFromEnumeration) +
                       " optimal schedules found by the runs are not among the " +
                       std::to_string(enumerated.count) + " the enumeration counted");
}

// The group of e's (instance, setting), made when e is the first of them.
SettingRuns& groupOf(const PlannedExecution& e, std::vector<SettingRuns>& groups,
                     std::map<std::string, std::size_t>& index) {
  auto [where, added] = index.try_emplace(e.instance + "/" + e.setting, groups.size());
  if (added) {
    groups.emplace_back();
    groups.back().summary.instance = e.instance;
    groups.back().summary.setting = e.setting;
    groups.back().summary.example = &e;
  }
  return groups[where->second];
}

// Reads a done execution's runs into its group; one not done or not readable is unfinished.
void collectExecution(const std::string& campaignFolder, const PlannedExecution& e,
                      SettingRuns& group, CampaignCollection& collection) {
  ++group.summary.planned;
  const std::string folder = campaignFolder + e.folder + "/";
  if (executionState(folder) != ExecutionState::kDone) {
    group.summary.unfinished.push_back(e.folder);
    return;
  }
  ResultRecords records;
  try {
    const Instance instance = readInstance(folder + kInstanceFileName);
    records = loadResultRecords(folder, instance);
    if (!group.instance) group.instance = instance;
  } catch (const InputError& error) {
    collection.problems.push_back(e.folder + ": " + error.message);
    group.summary.unfinished.push_back(e.folder);
    return;
  }
  for (const std::string& problem : records.problems)
    collection.problems.push_back(e.folder + ": " + problem);
  ++group.summary.finished;
  double seconds = 0;
  bool timed = !records.runs.empty();
  const int numbered = static_cast<int>(group.records.size());
  for (std::size_t k = 0; k < records.runs.size(); ++k) {
    const CollectedRun run = collectedRun(e, records.runs[k], static_cast<int>(k) + 1);
    if (run.seconds)
      seconds += *run.seconds;
    else
      timed = false;
    group.runs.push_back(run);
    collection.runs.push_back(run);
    RunRecord& sample = group.records.emplace_back(records.runs[k]);
    sample.run += numbered;
    if (sample.repeatOf != 0) sample.repeatOf += numbered;
  }
  if (timed) group.seconds.push_back(seconds);
}

using Enumerations = std::map<std::string, std::optional<EnumeratedOptima>>;

// The richness estimates over the group's runs as samples.
void estimateFromSamples(SettingRuns& group, const OptimumUnion& optima) {
  if (!group.instance) return;
  const ScheduleIncidence incidence =
      scheduleIncidence(optima, group.records, group.instance->targetMakespan);
  if (!incidence.bestMakespan) return;
  group.summary.sampledMakespan = incidence.bestMakespan;
  group.summary.richness = estimateRichness(incidence.runsHolding, incidence.runCount);
}

// Peak ratio and success rate of the group's runs against the enumeration's list.
void measureAgainstList(SettingRuns& group, const EnumeratedOptima& enumerated,
                        const OptimumUnion& optima) {
  if (!group.instance) return;
  // compareWithEnumeration reports what the list lacks, once per setting.
  std::vector<std::string> alreadyReported;
  const std::optional<OptimaCoverage> coverage =
      coverOptima(enumerated, *group.instance, group.records, alreadyReported);
  if (coverage)
    group.summary.againstEnumeration = enumerationMeasures(*coverage, group.records, optima);
}

// The group's summary, compared with its instance's enumeration where the optima command counted.
void summariseGroup(SettingRuns& group, const std::string& campaignFolder,
                    Enumerations& enumerations, CampaignCollection& collection) {
  summarise(group, group.runs);
  const OptimumUnion optima = uniteOptima(group.records);
  const std::vector<SharedOptimum>& found = optima.schedules;
  group.summary.distinctSchedules = static_cast<int>(found.size());
  estimateFromSamples(group, optima);
  const std::string& instance = group.summary.instance;
  if (!enumerations.contains(instance)) {
    std::string problem;
    enumerations[instance] = loadEnumeratedOptima(campaignFolder + instance + "/", problem);
    if (!problem.empty()) collection.problems.push_back(instance + ": " + problem);
  }
  if (const auto& enumerated = enumerations[instance]) {
    compareWithEnumeration(group.summary, found, *enumerated, collection.problems);
    measureAgainstList(group, *enumerated, optima);
  }
}

}  // namespace

CampaignCollection collectCampaign(const std::string& campaignFolder,
                                   const std::vector<PlannedExecution>& executions) {
  CampaignCollection collection;
  std::vector<SettingRuns> groups;
  std::map<std::string, std::size_t> index;
  for (const PlannedExecution& e : executions)
    collectExecution(campaignFolder, e, groupOf(e, groups, index), collection);
  Enumerations enumerations;
  for (SettingRuns& group : groups) {
    summariseGroup(group, campaignFolder, enumerations, collection);
    collection.settings.push_back(std::move(group.summary));
  }
  return collection;
}

std::string distinctSchedulesText(const SettingSummary& s) {
  std::string text = std::to_string(s.distinctSchedules);
  if (!s.enumeratedOptima) return text;
  std::string total = s.enumerationComplete ? "" : "at least ";
  total += std::to_string(*s.enumeratedOptima);
  if (s.foundOfEnumerated) {
    text = std::to_string(*s.foundOfEnumerated);
    text += " of ";
    text += total;
  } else {
    text += " (" + total + " exist)";
  }
  if (s.missingFromEnumeration > 0)
    text += ", " + std::to_string(s.missingFromEnumeration) + " not in the enumeration";
  return text;
}

std::string collectedRunsCsv(const CampaignCollection& collection) {
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
  std::string text = csvRow(header);
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
    text += csvRow(cells);
  }
  return text;
}

}  // namespace jobshop
