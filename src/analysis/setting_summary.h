// The figures of a campaign's runs: each run as its files tell it, and each (instance, setting)
// summarised over its finished executions.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/campaign_records.h"
#include "analysis/campaign_statistics.h"
#include "analysis/enumeration_measures.h"
#include "analysis/niching_measures.h"
#include "analysis/richness_estimates.h"

namespace jobshop {

// One run of one finished execution.
struct CollectedRun {
  const CampaignExecution* execution = nullptr;
  int run = 0;  // 1-based within the execution
  double bestMakespan = 0;
  bool reachedTarget = false;
  int distinctOptima = 0;
  std::optional<double> averageDistance;
  std::optional<long long> generations, evaluations, targetGeneration, targetEvaluations;
  std::optional<double> seconds;
  // From its trace against its instance's exact count; nothing for a run made before the trace.
  std::optional<NichingMeasures> measures;
};

struct SettingSummary {
  std::string instance;
  std::string setting;
  const CampaignExecution* example = nullptr;  // its parameters and instance size
  int planned = 0;
  int finished = 0;
  std::vector<std::string> unfinished;  // folders
  // The finished executions that have runs, in plan order, each once.
  std::vector<const CampaignExecution*> executionsWithRuns;
  int runs = 0;
  int runsReachingTarget = 0;
  // The share of runs reaching the target and its interval; nothing without runs. The table on
  // standard output has always rounded its percentage from the counts in one division, which
  // differs from 100 times the share at some halves (23 of 40: 58 % there, 57 % on the page).
  std::optional<double> targetRate;
  std::optional<double> targetPercent;
  Interval successInterval;
  std::optional<Spread> bestMakespans;
  std::vector<double> bestMakespanPerRun;      // in run order
  std::optional<Spread> distinctOptimaPerRun;  // over the runs that reached the target
  std::vector<double> optimaPerSuccessfulRun;  // the same, one value per run in run order
  int distinctSchedules = 0;                   // over all runs, by machine sequences
  std::optional<double> meanAverageDistance;
  std::optional<double> medianTargetGeneration;  // over the runs that reached the target
  std::optional<double> medianTargetEvaluations;
  std::optional<double> secondsPerExecution;  // mean
  // From "optima.json" in the instance's folder, when `optima` has counted there: how many
  // optimal schedules exist (a lower bound unless complete), how many of them the setting's runs
  // found (when the list is known), and how many found schedules the enumeration lacks, which a
  // complete enumeration at or above the target makes a fault.
  std::optional<long long> enumeratedOptima;
  bool enumerationComplete = false;
  std::optional<int> foundOfEnumerated;
  int missingFromEnumeration = 0;
  // The setting's runs (each execution's copies of a repeated run left out) as samples of the
  // schedules of their lowest best makespan, when it is at or below the target: how many such
  // schedules there may be in all, judged from how many runs found each. Nothing when no run
  // reached the target or fewer than two runs count.
  std::optional<int> sampledMakespan;
  std::optional<RichnessEstimates> richness;
  // Peak ratio and success rate of the runs against the instance's list of a complete enumeration.
  std::optional<EnumerationMeasures> againstEnumeration;
  // The measures of the runs' traces: K when the instance's enumeration gives one, their mean
  // and median over the runs with a trace, and per such run in run order the two that the
  // settings are compared on (dynamic F1 only with K).
  std::optional<double> exactCount;
  NichingAggregates niching;
  std::vector<double> foundPerTracedRun;
  std::vector<double> dynamicF1PerTracedRun;
};

}  // namespace jobshop
