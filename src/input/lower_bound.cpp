// The bound over job totals and machine loads.
#include "input/lower_bound.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace jobshop {

int classicLowerBound(const Instance& instance) {
  std::vector<std::int64_t> machineLoad(static_cast<size_t>(instance.machines), 0);
  std::int64_t bound = 0;
  for (int j = 1; j <= instance.jobs; ++j) {
    std::int64_t jobTotal = 0;
    for (int m = 1; m <= instance.machines; ++m) {
      jobTotal += instance.timeOn(j, m);
      machineLoad[static_cast<size_t>(m - 1)] += instance.timeOn(j, m);
    }
    bound = std::max(bound, jobTotal);
  }
  for (std::int64_t load : machineLoad) bound = std::max(bound, load);
  return static_cast<int>(bound);
}

}  // namespace jobshop
