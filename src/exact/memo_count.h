// Counting the schedules below a node without visiting each one: the number of completions of a
// node depends only on its key (search_state_key.h), so a count once made is looked up in the
// shared cache wherever the same state comes back, however it was reached.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "exact/count_cache.h"
#include "exact/schedule_search.h"
#include "exact/wide_count.h"
#include "support/stop_condition.h"

namespace jobshop {

struct MemoCountLimits {
  int bound = 0;  // schedules of makespan <= bound are counted
  // Ends the count early (a stop raised or signalled, its deadline); shared by the threads of one
  // count, never looked at when null.
  const StopCondition* stop = nullptr;
  std::atomic<std::int64_t>* nodesSoFar = nullptr;  // progress shared across threads
  // Counts that took fewer nodes than this are not stored: they are cheaper to redo than to keep.
  std::uint64_t storeFrom = 2;
  // Words of the order set (order_set.h) the walk gathers beside the count, and the cache keeps
  // beside each count; 0 when only the count is asked for.
  int orderWords = 0;
};

// Where a stopped walk of a subtree left off: the jobs appended below the subtree's root down to
// the step it was about to count (jobs from 0), and the count of every schedule before that step in
// the walk's order. The walk's order is fixed, so a later walk can count the rest from there.
struct SubtreePlace {
  std::vector<int> at;
  WideCount before;
};

struct MemoCountOutcome {
  WideCount count;  // every schedule below the prefix, or a lower bound when stopped
  std::int64_t nodes = 0;
  bool stopped = false;    // the stop condition ended the count
  SubtreePlace stoppedAt;  // when stopped: where to go on from
  bool timedOut = false;
  CountCacheStats cache;
  // With limits.orderWords: the orders realised in the schedules counted, the prefix's own among
  // them; empty when none were counted.
  std::vector<std::uint64_t> seenOrders;
};

// Counts the schedules below prefix (from splitSearch, or empty for the whole tree), the same
// number searchSubtree finds. From a place an earlier walk of this prefix stopped at, it counts
// only the schedules from that place on and adds the place's count before it: the same total.
// Such a resumed walk's seenOrders hold only the orders of the schedules it counted itself.
MemoCountOutcome countSubtree(const SearchProblem& problem, const SearchPrefix& prefix,
                              const MemoCountLimits& limits, CountCache& cache,
                              const SubtreePlace* from = nullptr);

// Whether place is a place a walk of prefix within bound can stop at: each step a child the walk
// takes, each but the last one it goes below. A place read back from a file is checked before
// a count goes on from it.
bool placeWithin(const SearchProblem& problem, int bound, const SearchPrefix& prefix,
                 const std::vector<int>& place);

}  // namespace jobshop
