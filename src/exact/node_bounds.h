// The bounds that cut a node of the exact search: heads and tails of the operations still to
// append, raised by the jobs' routes, the machines and the canonical order until nothing rises.
#pragma once

#include <limits>
#include <vector>

#include "exact/search_node.h"

namespace jobshop {

inline constexpr int kNoMachine = -1;
inline constexpr int kNoRest = std::numeric_limits<int>::min();

struct NodeBounds {
  // Per operation not yet appended: no completion of the node within its bound starts it before
  // head or has less than tail between its end and the makespan.
  std::vector<int> head, tail;
  // Per machine, over its operations not yet appended: their total time, least tail and two least
  // times (what the child test reads).
  std::vector<int> load, minTail, leastTime, secondTime;
  // Over the machines with work left, the largest load plus least tail (kNoMachine: none) and the
  // largest among the others: the child test reads the worst machine but the one it appends to
  // without a pass over all of them.
  int busiest = kNoMachine;
  int busiestRest = kNoRest;
  int otherRest = kNoRest;
  // The one job with operations left, or -1 when several have: such a node's only child has these
  // bounds but for the machine it takes (boundLoneJobChild).
  int loneJob = -1;
  // Per machine, boundNode's own: whether a round looks at it, whether this round raised one of
  // its operations.
  std::vector<unsigned char> active, changed;
};

// False when no completion of node is within node.bound. Otherwise fills bounds (sized here on
// first use). Every bound holds for all completions within the bound that reach their schedule
// through this node, so a child that cannot respect them can be dropped.
bool boundNode(const SearchNode& node, NodeBounds& bounds);

// The largest load plus least tail over the machines with work left but machine, or kNoRest.
int restBesides(const NodeBounds& bounds, int machine);

// Turns bounds, those boundNode gave the parent of child (whose loneJob is set) at child's bound,
// into the ones it gives child, reached through the parent's child test. Nothing can rise on a
// lone job's route: its heads and tails stay as they were and only the machine taken is emptied,
// so a long chain is bounded once rather than at every step.
void boundLoneJobChild(const SearchNode& child, NodeBounds& bounds);

}  // namespace jobshop
