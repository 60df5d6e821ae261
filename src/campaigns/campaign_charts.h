// The two charts of the campaign page, one row per setting of an instance: the share of runs
// reaching the target, and the spread of the runs' best makespans.
#pragma once

#include <string>
#include <vector>

#include "campaigns/campaign_collect.h"

namespace jobshop {

// Horizontal bars of the success rate, each with its 95 % Wilson interval as a whisker.
std::string successChart(const std::vector<const SettingSummary*>& settings);

// One box per setting (quartiles, the median as a line, whiskers to the best and the worst run)
// over a dot for every run, and the target as a dashed line.
std::string boxPlots(const std::vector<const SettingSummary*>& settings,
                     const std::vector<CollectedRun>& runs, int target);

// What the marks of each chart stand for, one line under it.
inline constexpr const char* kSuccessCaption =
    "bar: share of the runs that reached the target; whisker: its 95 % Wilson interval";
inline constexpr const char* kBoxCaption =
    "box: middle half of the runs (quartiles), line: median; whiskers: the best and the worst "
    "run; dots: each run's best makespan; dashed line: the target";

}  // namespace jobshop
