// A campaign's figures, computed once from the records collecting read: every run, each
// (instance, setting) summarised, and every pair of settings of an instance compared. The page,
// the table, the CSV and the JSON of a collection only show these values.
#pragma once

#include <string>
#include <vector>

#include "analysis/campaign_records.h"
#include "analysis/setting_comparison.h"
#include "analysis/setting_summary.h"

namespace jobshop {

// Runs and settings point into executions, and comparisons into settings: an analysis moves but
// is never copied.
struct CampaignAnalysis {
  std::vector<CampaignExecution> executions;   // in plan order
  std::vector<CollectedRun> runs;              // of the finished executions, in plan order
  std::vector<SettingSummary> settings;        // per instance in plan order, settings in plan order
  std::vector<SettingComparison> comparisons;  // as compareSettings orders them
  int plannedExecutions = 0;
  int finishedExecutions = 0;
  std::vector<std::string> unfinished;  // folders, setting by setting
  std::vector<std::string> problems;    // executions whose files disagree or cannot be read

  CampaignAnalysis() = default;
  CampaignAnalysis(CampaignAnalysis&&) = default;
  CampaignAnalysis& operator=(CampaignAnalysis&&) = default;
  CampaignAnalysis(const CampaignAnalysis&) = delete;
  CampaignAnalysis& operator=(const CampaignAnalysis&) = delete;
};

// Groups the executions per (instance, setting) in the order they first appear, summarises each
// group over its finished executions, matches it against its instance's enumeration, and compares
// the settings of each instance. The problems are the records' followed, group by group, by what
// reading each instance's enumeration found and by the schedules it lacks.
CampaignAnalysis analyseCampaign(CampaignRecords records);

}  // namespace jobshop
