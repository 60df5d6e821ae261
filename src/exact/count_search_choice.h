// Which of the two exact counts runs when the user leaves it to the program: the count by pair
// orders is tried first on one thread for a fixed number of nodes, and taken when it finishes
// there; otherwise the state search counts. The count is the same either way and, the trial being
// counted in nodes on one thread, so is the choice: only the time depends on it.
#pragma once

#include <cstdint>
#include <optional>

#include "exact/disjunctive_count.h"
#include "exact/search_problem.h"
#include "support/stop_condition.h"

namespace jobshop {

// The trial's nodes: about a second on a 10 x 10 instance, where the tight instances finish (la19
// in 3,320 nodes, abz5 in 7,303) and the loose ones, with millions of schedules, do not.
inline constexpr std::int64_t kDisjunctiveTrialNodes = 50000;

struct SearchTrial {
  // The count by pair orders, when it finished within the trial or stop ended it there (then a
  // lower bound); nothing when the state search is to count.
  std::optional<DisjunctiveCountResult> counted;
  std::int64_t trialNodes = 0;  // the nodes the trial walked
};

SearchTrial tryDisjunctiveCount(const SearchProblem& problem, int bound, const StopCondition& stop);

}  // namespace jobshop
