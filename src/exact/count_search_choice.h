// Which of the two exact counts runs when the user leaves it to the program: the count by pair
// orders is tried first on one thread for a fixed number of nodes, and taken when it finishes
// there; otherwise the state search counts. The
// count is the same either way and, the trial being counted in nodes on one thread, so is the
// choice: only the time depends on it.
#pragma once

#include <cstdint>
#include <optional>

#include "exact/disjunctive_count.h"
#include "exact/search_problem.h"
#include "support/stop_condition.h"

namespace jobshop {

// The trial's nodes, a few seconds. The tight 10 x 10 instances finish within them (ft10 at its
// optimum in 131,639 nodes, orb06 in 272,153, la19 in 3,320), where the states take from 10 to
// 100 times longer; the loose ones with millions of schedules, which the states count faster,
// do not (la17, la01). orb01 pays: the trial gives up after about 25 s of a 60 s count.
inline constexpr std::int64_t kDisjunctiveTrialNodes = 300000;

struct SearchTrial {
  // The count by pair orders, when it finished within the trial or stop ended it there (then a
  // lower bound); nothing when the state search is to count.
  std::optional<DisjunctiveCountResult> counted;
  std::int64_t trialNodes = 0;  // the nodes the trial walked
};

SearchTrial tryDisjunctiveCount(const SearchProblem& problem, int bound, const StopCondition& stop);

}  // namespace jobshop
