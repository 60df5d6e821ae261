// The makespans the convergence chart shows: from just below the target to where most runs
// started, so that the region where runs close in on the target is not squeezed by a few bad
// starts.
#include "report/convergence_range.h"

#include <algorithm>
#include <cmath>

namespace jobshop {

namespace {

// The smallest of values (sorted) at or above share of them.
double quantileOf(const std::vector<double>& sorted, double share) {
  // Less a hair, so that 0.9 * 10, a little above 9 in binary, is the 9th and not the 10th.
  const auto rank =
      static_cast<std::size_t>(std::ceil(share * static_cast<double>(sorted.size()) - 1e-9));
  return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

}  // namespace

ConvergenceRange convergenceRange(const std::vector<RunRecord>& runs, double target) {
  double lowest = target;
  double highest = target;
  double ceiling = target;
  std::vector<double> starts;
  for (const RunRecord& run : runs) {
    if (run.progress.empty()) continue;
    starts.push_back(run.progress.front().makespan);
    ceiling = std::max(ceiling, run.progress.back().makespan);
    for (const ProgressStep& step : run.progress) {
      lowest = std::min(lowest, step.makespan);
      highest = std::max(highest, step.makespan);
    }
  }
  if (!starts.empty()) {
    std::sort(starts.begin(), starts.end());
    ceiling = std::max(ceiling, quantileOf(starts, kShownStartShare));
  }
  ConvergenceRange range;
  range.cut = highest > ceiling;
  const double top = range.cut ? ceiling : highest;
  const double pad = std::max((top - lowest) * 0.06, 1.0);
  range.low = lowest - pad;
  range.high = top + pad;
  range.cut = highest > range.high;
  return range;
}

}  // namespace jobshop
