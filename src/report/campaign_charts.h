// The charts of the campaign page, one row per setting of an instance: the share of runs reaching
// the target, the spread of the runs' best makespans and of their distinct optima.
#pragma once

#include <string>
#include <vector>

#include "analysis/setting_summary.h"

namespace jobshop {

// Horizontal bars of the success rate, each with its 95 % Wilson interval as a whisker.
std::string successChart(const std::vector<const SettingSummary*>& settings);

// One box per setting (quartiles, the median as a line, whiskers to the best and the worst run)
// over a dot for every run, and the target as a dashed line.
std::string boxPlots(const std::vector<const SettingSummary*>& settings, int target);

// The distinct optima of each successful run, one box per setting as in boxPlots, with the
// setting's union of distinct optima and its Chao2 estimate of how many exist written beside it.
std::string optimaBoxPlots(const std::vector<const SettingSummary*>& settings);

// "union 12 · Chao2 15.3 (12.4–31.0)": what a setting found and how many there may be; "union
// 12 · Chao2 at least 45.0" when the runs are too few to estimate the total; the estimate is left
// out when there is none.
std::string unionAndEstimate(const SettingSummary& setting);

// The class of that text: muted when it gives a lower bound only.
std::string unionAndEstimateClass(const SettingSummary& setting);

// What the marks of each chart stand for, one line under it.
inline constexpr const char* kSuccessCaption =
    "bar: share of the runs that reached the target; whisker: its 95 % Wilson interval";
inline constexpr const char* kBoxCaption =
    "box: middle half of the runs (quartiles), line: median; whiskers: the best and the worst "
    "run; dots: each run's best makespan; dashed line: the target";
inline constexpr const char* kOptimaBoxCaption =
    "each row: the runs of a setting that reached the target; box: quartiles, line: median, "
    "whiskers: fewest and most; dots: each run's distinct optima; beside it: the distinct optima "
    "of all its runs together (union) and the Chao2 estimate of how many schedules of the "
    "setting's best makespan exist, with its 95 % interval, or in grey only a lower bound when the "
    "runs are too few to estimate the total";

}  // namespace jobshop
