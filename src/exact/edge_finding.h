// The edge-finding rule on one machine: the operations that must come after a whole set of the
// others there, and the sets that cannot all fit between their heads and tails.
#pragma once

#include <array>

#include "exact/search_problem.h"

namespace jobshop {

// One machine's remaining operations, slot i for one of them, at most one per job.
struct MachineOps {
  int count = 0;
  std::array<int, kMaxSearchJobs> duration;
  std::array<int, kMaxSearchJobs> head;  // earliest start
  std::array<int, kMaxSearchJobs> tail;  // least time from its end to the makespan
};

// Raises head[i] of every operation i that must end after all of some set S of the others (S and
// i together cannot end by the latest end S allows, bound minus S's least tail) to the earliest
// end of S. Returns false when some set on its own cannot end by then: no order of the machine
// is within bound. Calling it with head and tail swapped raises the tails by the mirror rule.
// raised is set when a head rose. O(count^2).
bool edgeFindHeads(const std::array<int, kMaxSearchJobs>& duration,
                   std::array<int, kMaxSearchJobs>& head,
                   const std::array<int, kMaxSearchJobs>& tail, int count, int bound, bool& raised);

}  // namespace jobshop
