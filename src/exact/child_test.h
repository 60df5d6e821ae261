// The cheap test of a child of the exact search against its parent's bounds, run before the child
// is appended and bounded itself.
#pragma once

#include "exact/node_bounds.h"
#include "exact/search_node.h"

namespace jobshop {

// Whether appending job's next operation to n may lead to a schedule within the bound, tested
// against n's bounds b: far cheaper than boundNode, it catches most of the children that fail. The
// child starts its operation now, so not before the operation's head; nothing starts earlier
// afterwards, every operation that it forbids waits for another one on its machine, and every
// machine still has its load to do.
bool childMayFit(const SearchNode& n, const NodeBounds& b, int job);

}  // namespace jobshop
