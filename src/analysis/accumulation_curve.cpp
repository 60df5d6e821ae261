// The expected distinct schedules among t runs drawn without replacement from the runCount.
#include "analysis/accumulation_curve.h"

#include <map>

namespace jobshop {

std::vector<double> accumulationCurve(const std::vector<std::size_t>& runsHolding,
                                      std::size_t runCount) {
  std::vector<double> curve(runCount, 0.0);
  std::map<std::size_t, std::size_t> schedulesHeldBy;
  for (const std::size_t k : runsHolding) ++schedulesHeldBy[k];
  for (const auto& [held, schedules] : schedulesHeldBy) {
    // missed: the chance that t runs drawn together all lack the schedule, C(T-k, t) / C(T, t),
    // built factor by factor because the binomials themselves overflow long before T = 10,000.
    double missed = 1.0;
    for (std::size_t t = 1; t <= runCount; ++t) {
      const std::size_t j = t - 1;
      missed = held + j >= runCount ? 0.0
                                    : missed * static_cast<double>(runCount - held - j) /
                                          static_cast<double>(runCount - j);
      curve[t - 1] += static_cast<double>(schedules) * (1.0 - missed);
    }
  }
  return curve;
}

}  // namespace jobshop
