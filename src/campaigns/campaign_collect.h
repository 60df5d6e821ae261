// Collecting a campaign: every finished execution's runs read back from its result files and
// record, grouped per (instance, setting) and summarised.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/campaign_statistics.h"
#include "analysis/enumeration_measures.h"
#include "analysis/richness_estimates.h"
#include "campaigns/campaign_plan.h"

namespace jobshop {

// One run of one finished execution, as its files tell it.
struct CollectedRun {
  const PlannedExecution* execution = nullptr;
  int run = 0;  // 1-based within the execution
  double bestMakespan = 0;
  bool reachedTarget = false;
  int distinctOptima = 0;
  std::optional<double> averageDistance;
  std::optional<long long> generations, evaluations, targetGeneration, targetEvaluations;
  std::optional<double> seconds;
};

struct SettingSummary {
  std::string instance;
  std::string setting;
  const PlannedExecution* example = nullptr;  // its parameters and instance size
  int planned = 0;
  int finished = 0;
  std::vector<std::string> unfinished;  // folders
  int runs = 0;
  int runsReachingTarget = 0;
  Interval successInterval;
  std::optional<Spread> bestMakespans;
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
};

struct CampaignCollection {
  std::vector<CollectedRun> runs;
  std::vector<SettingSummary> settings;  // per instance in plan order, settings in plan order
  std::vector<std::string> problems;     // executions whose files disagree or cannot be read
};

// Reads every done execution of the manifest (the others are counted as unfinished).
CampaignCollection collectCampaign(const std::string& campaignFolder,
                                   const std::vector<PlannedExecution>& executions);

// The distinct optimal schedules of a setting for people: "48", or "48 of 53" against the
// enumeration, "48 (53 exist)" without its list, "48 (at least 53 exist)" when it was cut short.
std::string distinctSchedulesText(const SettingSummary& setting);

// One row per run with every parameter as a column, for pandas or R.
std::string collectedRunsCsv(const CampaignCollection& collection);

}  // namespace jobshop
