// Counting the schedules within a bound on several threads: the search tree cut at a fixed shallow
// depth into subtrees, searched in any order and reported in tree order, so that the count and the
// listing never depend on the number of threads.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>

#include "exact/schedule_search.h"
#include "support/progress_line.h"
#include "support/stop_condition.h"

namespace jobshop {

struct CountRequest {
  int bound = 0;
  std::optional<std::int64_t> limit;  // stop once more than this many are known
  // Its deadline (or a stop signal) ends the count early, as a lower bound.
  StopCondition stop;
  int threads = 1;
  std::ostream* listing = nullptr;  // receives each schedule's line when set
};

struct CountResult {
  std::int64_t count = 0;
  std::int64_t nodes = 0;
  bool complete = true;   // count is every schedule within the bound
  bool timedOut = false;  // the deadline ended the search
};

// Counts the schedules of makespan <= request.bound. Without a limit or deadline the count is
// exact and complete. With a limit L it is at most L; complete is false exactly when more than L
// exist, and the listing then holds the first L in the order of searchSubtree over the whole
// tree. When request.stop ends it early the count is a lower bound and complete is false. Lines
// reach request.listing in the order of the whole tree's search, subtree by subtree as each is
// done; only finished subtrees that wait for an earlier one are kept in memory. progress is redrawn
// from the calling thread.
CountResult countSchedules(const SearchProblem& problem, const CountRequest& request,
                           ProgressLine& progress);

}  // namespace jobshop
