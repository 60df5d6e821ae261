// The count of schedules within a bound by branching on the order of one pair of operations of a
// machine at a time: every complete acyclic orientation of the machines' pairs within the bound is
// one semi-active schedule, the same sets of machine sequences the state search counts. It proves
// subtrees empty by propagation rather than by walking them, which pays on tight instances.
#pragma once

#include <cstdint>

#include "exact/search_problem.h"
#include "support/stop_condition.h"

namespace jobshop {

struct DisjunctiveCountRequest {
  int bound = 0;
  int threads = 1;
  // Its signal flag, deadline and nodeLimit (the nodes of each thread) end the count early, as
  // a lower bound.
  const StopCondition* stop = nullptr;
};

struct DisjunctiveCountResult {
  std::uint64_t count = 0;  // exact when complete, else a lower bound
  bool complete = true;
  bool timedOut = false;  // the deadline or a stop signal ended it
  std::int64_t nodes = 0;
};

// Whether the instance is small enough for the count by pair orders (kMaxDisjunctiveOps).
bool fitsDisjunctiveCount(const SearchProblem& problem);

// Counts the schedules of makespan <= request.bound, the number countExactly finds; the instance
// fits (fitsDisjunctiveCount). The tree is
// cut at its first branchings into subtrees that request.threads threads share; the count and,
// when complete, the nodes do not depend on the threads.
DisjunctiveCountResult countDisjunctive(const SearchProblem& problem,
                                        const DisjunctiveCountRequest& request);

}  // namespace jobshop
