// The bounds of the nodes on a walk's path, kept for a few depths only: a full set for every depth
// would hold the square of the operations on a long, thin instance.
#pragma once

#include <vector>

#include "exact/node_bounds.h"
#include "exact/search_node.h"

namespace jobshop {

struct BoundsWindow {
  std::vector<NodeBounds> slots;  // depth d is bounded into slot d % slots.size()
  std::vector<int> holder;        // per slot, the depth whose bounds it holds, -1 for none
  std::vector<int> slotOf;        // per depth, the slot its bounds went to last
  std::vector<int> boundWith;     // per depth, the node's bound when it was bounded
};

// A window for a walk of problem: every depth kept where that is little memory, else a few.
BoundsWindow makeBoundsWindow(const SearchProblem& problem);

// boundNode on the node at its depth, the bounds kept for its children's tests. The walk calls it
// on the root of its subtree and on each child that passed its parent's child test.
bool boundAtDepth(BoundsWindow& window, const SearchNode& node);

// The bounds boundAtDepth gave the node at its depth. When they were dropped since, the node is
// bounded again with the bound it had then: boundNode reads nothing else, so they come back the
// same.
const NodeBounds& boundsAtDepth(BoundsWindow& window, SearchNode& node);

// Forgets every depth's bounds, for a walk that goes on from another node than the last it bounded.
void forgetBounds(BoundsWindow& window);

}  // namespace jobshop
