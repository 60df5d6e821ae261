// The bounds that cut a node of the exact search: heads and tails of the operations still to
// append, raised by the jobs' routes, the machines and the canonical order until nothing rises.
#pragma once

#include <vector>

#include "exact/search_node.h"

namespace jobshop {

struct NodeBounds {
  // Per operation not yet appended: no completion of the node within its bound starts it before
  // head or has less than tail between its end and the makespan.
  std::vector<int> head, tail;
  // Per machine, over its operations not yet appended: their total time, least tail and two least
  // times (what the child test reads).
  std::vector<int> load, minTail, leastTime, secondTime;
  // Per machine, boundNode's own: whether a round looks at it, whether this round raised one of
  // its operations.
  std::vector<unsigned char> active, changed;
};

// False when no completion of node is within node.bound. Otherwise fills bounds (sized here on
// first use). Every bound holds for all completions within the bound that reach their schedule
// through this node, so a child that cannot respect them can be dropped.
bool boundNode(const SearchNode& node, NodeBounds& bounds);

}  // namespace jobshop
