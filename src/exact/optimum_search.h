// The smallest makespan of the instance, found and proven by the exact search.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "exact/search_problem.h"

namespace jobshop {

struct OptimumResult {
  int makespan = 0;     // the smallest found
  bool proven = false;  // no schedule is shorter than makespan
  std::int64_t nodes = 0;
};

// Searches the whole tree, looking after each schedule found only for shorter ones. Without a
// deadline, or when it is not reached, makespan is the optimum and proven is true; otherwise
// makespan is the best found (the sum of all times when none was) and proven is false.
OptimumResult findOptimum(const SearchProblem& problem,
                          std::optional<std::chrono::steady_clock::time_point> deadline);

}  // namespace jobshop
