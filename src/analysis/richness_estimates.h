// How many schedules of the best makespan there may be in all, judged from how often the runs
// found the ones they found: many found by a single run suggest many more no run found.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace jobshop {

// The sample coverage under which the estimates are given as a lower bound only. Coverage is the
// estimated share of the runs' chances to find a schedule that falls on schedules already found;
// under one half, more of it falls on schedules no run found than on those seen, and what Chao2
// adds for them rests on a handful of schedules found by one or two runs. The table of estimates
// against exact counts (README, "Estimates against the truth") bears the cut out: every case at
// coverage 0.52 or more had its interval around the true count (one missed it by 0.01), and every
// case at 0.27 or less had Chao2 off by a factor of 1.6 to 305, all but one far below the truth;
// none fell between.
constexpr double kLeastCoverageToEstimate = 0.5;

struct RichnessEstimates {
  std::size_t observed = 0;  // S_obs
  std::size_t runs = 0;      // T
  std::size_t q1 = 0, q2 = 0;
  double chao2 = 0, chao2Lower = 0, chao2Upper = 0;  // bias-corrected, 95 % log-normal interval
  double jackknife1 = 0, jackknife2 = 0;
  double coverage = 1;  // sample coverage C_hat
  // Too few repeats to estimate the total: some schedule was found by one run only, and either
  // none by exactly two (Chao2 then falls back on its bias-corrected form, which assumes one) or
  // the coverage is under kLeastCoverageToEstimate. The figures then bound the total from below.
  bool lowerBoundOnly = false;
};

// runsHolding[i]: in how many of the runCount runs schedule i was found (each at least 1).
// Nothing for fewer than two runs.
std::optional<RichnessEstimates> estimateRichness(const std::vector<std::size_t>& runsHolding,
                                                  std::size_t runCount);

}  // namespace jobshop
