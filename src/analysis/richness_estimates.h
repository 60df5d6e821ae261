// How many schedules of the best makespan there may be in all, judged from how often the runs
// found the ones they found: many found by a single run suggest many more no run found.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace jobshop {

struct RichnessEstimates {
  std::size_t observed = 0;  // S_obs
  std::size_t runs = 0;      // T
  std::size_t q1 = 0, q2 = 0;
  double chao2 = 0, chao2Lower = 0, chao2Upper = 0;  // bias-corrected, 95 % log-normal interval
  double jackknife1 = 0, jackknife2 = 0;
  double coverage = 1;  // sample coverage C_hat
};

// runsHolding[i]: in how many of the runCount runs schedule i was found (each at least 1).
// Nothing for fewer than two runs.
std::optional<RichnessEstimates> estimateRichness(const std::vector<std::size_t>& runsHolding,
                                                  std::size_t runCount);

}  // namespace jobshop
