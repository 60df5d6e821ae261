// The depth-first enumeration of semi-active schedules: every set of machine sequences that the
// routes leave acyclic and whose makespan is within a bound, each reached exactly once.
#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "exact/search_problem.h"
#include "support/stop_condition.h"

namespace jobshop {

// A node of the search is the list of jobs whose next operation was appended, step by step, to
// its machine's sequence. A schedule is reached through one list only: the one that appends, at
// every step, the lowest-numbered job whose next operation could come next in that schedule.
using SearchPrefix = std::vector<int>;

struct SearchSettings {
  int bound = 0;         // schedules of makespan <= bound are counted
  bool list = false;     // keep each schedule's line
  bool tighten = false;  // after each find look only for strictly shorter schedules
  // Ends the walk early: a stop raised or signalled, its deadline, or its foundLimit schedules
  // found (the outcome is then marked stopped); the walk runs to its end when null. Several
  // threads may share one.
  const StopCondition* stop = nullptr;
  std::atomic<std::int64_t>* foundSoFar = nullptr;  // progress counters shared across threads
  std::atomic<std::int64_t>* nodesSoFar = nullptr;
};

struct SearchOutcome {
  std::int64_t found = 0;
  std::int64_t nodes = 0;
  // Ended by the stop condition (its found limit, its deadline, a stop): found is then a lower
  // bound.
  bool stopped = false;
  bool timedOut = false;
  int best = std::numeric_limits<int>::max();  // smallest makespan found
  std::vector<int> bestSequences;              // its machine sequences, machine-major, jobs from 1
  // With list: one line per schedule in the order found, its J*M job numbers (from 1) machine by
  // machine and its makespan, each followed by a space.
  std::string listing;
};

// Enumerates the subtree below prefix (a prefix from splitSearch, or empty for the whole tree)
// in a fixed order: the same problem, prefix and limits give the same schedules in the same
// order. Stops early only as settings.stop says.
SearchOutcome searchSubtree(const SearchProblem& problem, const SearchPrefix& prefix,
                            const SearchSettings& settings);

// The nodes at the shallowest depth that has at least minSubtrees nodes within bound (or at the
// deepest level short of a schedule, or the schedules themselves for tiny instances), in search
// order. The subtrees below them hold exactly the schedules of the whole tree, and concatenating
// their listings in this order gives the listing of the whole tree.
std::vector<SearchPrefix> splitSearch(const SearchProblem& problem, int bound, int minSubtrees);

// The same cut of the subtree below root (a prefix the search takes): the prefixes that extend it
// at the shallowest depth below it with at least minSubtrees of them, in search order. Empty when
// nothing within bound lies below root.
std::vector<SearchPrefix> splitBelow(const SearchProblem& problem, int bound,
                                     const SearchPrefix& root, int minSubtrees);

}  // namespace jobshop
