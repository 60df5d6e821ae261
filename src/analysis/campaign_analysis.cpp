// Grouping a campaign's executions per (instance, setting), summarising each group and comparing
// the settings of each instance.
#include "analysis/campaign_analysis.h"

#include <map>
#include <set>

#include "analysis/optima_coverage.h"
#include "analysis/optimum_union.h"
#include "analysis/schedule_incidence.h"

namespace jobshop {

namespace {

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

struct SettingGroup {
  SettingSummary summary;
  // Every run of every finished execution, for the union, numbered through the setting (copies
  // name their originals by these numbers too), so that each run is one sample.
  std::vector<RunRecord> records;
  const Instance* instance = nullptr;  // of the first finished execution
  std::vector<double> seconds;         // per execution
  std::vector<CollectedRun> runs;
};

CollectedRun collectedRun(const CampaignExecution& execution, const RunRecord& record, int run,
                          std::optional<double> exactCount) {
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
  collected.measures = nichingMeasures(record.trace, exactCount);
  return collected;
}

void summarise(SettingGroup& group) {
  SettingSummary& s = group.summary;
  std::vector<double> optima;
  std::vector<double> distances;
  std::vector<double> generations;
  std::vector<double> evaluations;
  std::vector<std::optional<NichingMeasures>> measures;
  for (const CollectedRun& run : group.runs) {
    ++s.runs;
    measures.push_back(run.measures);
    if (run.measures) s.foundPerTracedRun.push_back(run.measures->found);
    if (run.measures && run.measures->dynamicF1)
      s.dynamicF1PerTracedRun.push_back(*run.measures->dynamicF1);
    s.bestMakespanPerRun.push_back(run.bestMakespan);
    if (run.reachedTarget) {
      ++s.runsReachingTarget;
      optima.push_back(run.distinctOptima);
      s.optimaPerSuccessfulRun.push_back(run.distinctOptima);
      if (run.targetGeneration) generations.push_back(static_cast<double>(*run.targetGeneration));
      if (run.targetEvaluations) evaluations.push_back(static_cast<double>(*run.targetEvaluations));
    }
    if (run.averageDistance) distances.push_back(*run.averageDistance);
  }
  if (s.runs > 0) {
    s.targetRate = static_cast<double>(s.runsReachingTarget) / s.runs;
    s.targetPercent = 100.0 * s.runsReachingTarget / s.runs;
  }
  s.successInterval = wilsonInterval(s.runsReachingTarget, s.runs);
  s.bestMakespans = spreadOf(s.bestMakespanPerRun);
  s.distinctOptimaPerRun = spreadOf(optima);
  s.meanAverageDistance = meanOf(distances);
  s.medianTargetGeneration = medianOf(generations);
  s.medianTargetEvaluations = medianOf(evaluations);
  s.secondsPerExecution = meanOf(group.seconds);
  s.niching = aggregateMeasures(measures);
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
SettingGroup& groupOf(const CampaignExecution& e, std::vector<SettingGroup>& groups,
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

// Adds a finished execution's runs to its group.
void addRuns(const CampaignExecution& e, const ExecutionRecords& records, SettingGroup& group,
             std::optional<double> exactCount, CampaignAnalysis& analysis) {
  ++group.summary.finished;
  if (!group.instance && records.instance) group.instance = &*records.instance;
  double seconds = 0;
  bool timed = !records.runs.empty();
  const int numbered = static_cast<int>(group.records.size());
  for (std::size_t k = 0; k < records.runs.size(); ++k) {
    const CollectedRun run = collectedRun(e, records.runs[k], static_cast<int>(k) + 1, exactCount);
    if (run.seconds)
      seconds += *run.seconds;
    else
      timed = false;
    group.runs.push_back(run);
    analysis.runs.push_back(run);
    RunRecord& sample = group.records.emplace_back(records.runs[k]);
    sample.run += numbered;
    if (sample.repeatOf != 0) sample.repeatOf += numbered;
  }
  if (timed) group.seconds.push_back(seconds);
  std::vector<const CampaignExecution*>& linked = group.summary.executionsWithRuns;
  if (!records.runs.empty() && (linked.empty() || linked.back()->folder != e.folder))
    linked.push_back(&e);
}

// The richness estimates over the group's runs as samples.
void estimateFromSamples(SettingGroup& group, const OptimumUnion& optima) {
  if (!group.instance) return;
  const ScheduleIncidence incidence =
      scheduleIncidence(optima, group.records, group.instance->targetMakespan);
  if (!incidence.bestMakespan) return;
  group.summary.sampledMakespan = incidence.bestMakespan;
  group.summary.richness = estimateRichness(incidence.runsHolding, incidence.runCount);
}

// Peak ratio and success rate of the group's runs against the enumeration's list.
void measureAgainstList(SettingGroup& group, const EnumeratedOptima& enumerated,
                        const OptimumUnion& optima) {
  if (!group.instance) return;
  // compareWithEnumeration reports what the list lacks, once per setting.
  std::vector<std::string> alreadyReported;
  const std::optional<OptimaCoverage> coverage =
      coverOptima(enumerated, *group.instance, group.records, optima, alreadyReported);
  if (coverage)
    group.summary.againstEnumeration = enumerationMeasures(*coverage, group.records, optima);
}

const InstanceEnumeration* enumerationOf(const std::string& instance,
                                         const std::vector<InstanceEnumeration>& enumerations) {
  for (const InstanceEnumeration& enumeration : enumerations)
    if (enumeration.instance == instance) return &enumeration;
  return nullptr;
}

// K for the measures of the traces of e's runs.
std::optional<double> exactCountOf(const CampaignExecution& e,
                                   const std::vector<InstanceEnumeration>& enumerations) {
  const InstanceEnumeration* enumeration = enumerationOf(e.instance, enumerations);
  if (!enumeration || !enumeration->optima) return std::nullopt;
  const EnumeratedOptima& optima = *enumeration->optima;
  return exactCountFor(optima.complete, optima.bound, e.target, static_cast<double>(optima.count));
}

// The group's summary, compared with its instance's enumeration where the optima command counted;
// what reading the enumeration found is told at the instance's first group.
void summariseGroup(SettingGroup& group, const std::vector<InstanceEnumeration>& enumerations,
                    std::set<std::string>& told, std::vector<std::string>& problems) {
  summarise(group);
  const OptimumUnion optima = uniteOptima(group.records);
  const std::vector<SharedOptimum>& found = optima.schedules;
  group.summary.distinctSchedules = static_cast<int>(found.size());
  estimateFromSamples(group, optima);
  const InstanceEnumeration* enumeration = enumerationOf(group.summary.instance, enumerations);
  if (!enumeration) return;
  if (told.insert(enumeration->instance).second && !enumeration->problem.empty())
    problems.push_back(enumeration->instance + ": " + enumeration->problem);
  if (const auto& enumerated = enumeration->optima) {
    group.summary.exactCount = exactCountOf(*group.summary.example, enumerations);
    compareWithEnumeration(group.summary, found, *enumerated, problems);
    measureAgainstList(group, *enumerated, optima);
  }
}

}  // namespace

CampaignAnalysis analyseCampaign(CampaignRecords records) {
  CampaignAnalysis analysis;
  analysis.problems = std::move(records.problems);
  for (const ExecutionRecords& e : records.executions) analysis.executions.push_back(e.planned);
  std::vector<SettingGroup> groups;
  std::map<std::string, std::size_t> index;
  for (std::size_t k = 0; k < records.executions.size(); ++k) {
    const CampaignExecution& e = analysis.executions[k];
    SettingGroup& group = groupOf(e, groups, index);
    ++group.summary.planned;
    if (records.executions[k].finished)
      addRuns(e, records.executions[k], group, exactCountOf(e, records.enumerations), analysis);
    else
      group.summary.unfinished.push_back(e.folder);
  }
  std::set<std::string> told;
  for (SettingGroup& group : groups) {
    summariseGroup(group, records.enumerations, told, analysis.problems);
    SettingSummary& s = analysis.settings.emplace_back(std::move(group.summary));
    analysis.plannedExecutions += s.planned;
    analysis.finishedExecutions += s.finished;
    analysis.unfinished.insert(analysis.unfinished.end(), s.unfinished.begin(), s.unfinished.end());
  }
  analysis.comparisons = compareSettings(analysis.settings);
  return analysis;
}

}  // namespace jobshop
