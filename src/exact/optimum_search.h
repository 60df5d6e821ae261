// The smallest makespan of the instance, found and proven by the exact search.
#pragma once

#include <cstdint>

#include "exact/search_problem.h"
#include "support/stop_condition.h"

namespace jobshop {

struct OptimumResult {
  int makespan = 0;     // the smallest found
  bool proven = false;  // no schedule is shorter than makespan
  std::int64_t nodes = 0;
};

// Searches the whole tree, looking after each schedule found only for shorter ones. Unless stop
// ends it early (its deadline passed, a stop raised), makespan is the optimum and proven is true;
// otherwise makespan is the best found (the sum of all times when none was) and proven is false.
OptimumResult findOptimum(const SearchProblem& problem, const StopCondition& stop);

}  // namespace jobshop
