// The makespans the convergence chart shows: from just below the target to where most runs
// started, so that the region where runs close in on the target is not squeezed by a few bad
// starts.
#pragma once

#include <vector>

#include "results/result_records.h"

namespace jobshop {

struct ConvergenceRange {
  double low = 0.0;
  double high = 1.0;
  // Some makespans lie above high; the chart draws them on its top edge and marks the axis broken.
  bool cut = false;
};

// The share of the runs whose first best makespan the chart shows in full.
inline constexpr double kShownStartShare = 0.9;

// Over the runs with progress: from the lowest of the target and every makespan, down by a margin
// (6 % of the span, at least 1), up to the highest of the target, every run's final best and the
// first bests of kShownStartShare of the runs (the smallest value at or above that share of
// them), up by the same margin. cut is set when a makespan lies above high.
ConvergenceRange convergenceRange(const std::vector<RunRecord>& runs, double target);

}  // namespace jobshop
