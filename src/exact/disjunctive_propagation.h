// What a partial schedule forces before it is branched on: the orders of machine pairs whose other
// order cannot fit within the bound (immediate selection), and the heads and tails edge finding
// raises. Each only removes orientations beyond the bound, so a count below stays exact.
#pragma once

#include "exact/disjunctive_graph.h"

namespace jobshop {

// An order of two operations of one machine that neither precedes yet.
struct OpenPair {
  int first = -1;  // the order tried first: first before second
  int second = -1;
};

// Applies both rules until neither changes anything. False when no completion fits the bound.
bool propagateForced(const DisjunctiveLayout& layout, DisjunctiveGraph& graph);

// The open pair to branch on: the one whose looser order is tightest, so that both children are
// near the bound and propagate far. first/second are -1 when every pair is ordered.
OpenPair tightestOpenPair(const DisjunctiveLayout& layout, const DisjunctiveGraph& graph);

}  // namespace jobshop
