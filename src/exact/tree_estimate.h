// How many schedules a tree too large to count holds, estimated by random probes from the root:
// each probe goes down one random child at a time and, reaching a schedule, guesses the product
// of the numbers of children it chose among (an unbiased guess of the count). Their mean is the
// estimate; their spread gives its standard error.
#pragma once

#include <cstdint>

#include "exact/search_problem.h"
#include "support/stop_condition.h"

namespace jobshop {

struct TreeEstimateRequest {
  int bound = 0;
  std::int64_t probes = 1000;
  std::uint64_t seed = 1;  // the same seed gives the same probes and the same estimate
  StopCondition stop;      // ends the probing early (between probes)
};

struct TreeEstimate {
  double estimate = 0;       // mean of the probes' guesses
  double standardError = 0;  // of the mean: the guesses' sample standard deviation / sqrt(probes)
  std::int64_t probes = 0;   // probes made (fewer than asked when a stop came first)
  std::int64_t reached = 0;  // probes that reached a schedule; the others guessed 0
};

// Estimates the number of schedules of makespan <= request.bound that countSchedules would count,
// walking the same tree with the same child tests.
TreeEstimate estimateTree(const SearchProblem& problem, const TreeEstimateRequest& request);

}  // namespace jobshop
