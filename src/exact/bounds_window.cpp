// Bounds kept per depth in a ring of slots, a lone job's chain sharing one slot all the way down.
#include "exact/bounds_window.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace jobshop {

namespace {

// What the window's slots may take together. Every instance of a few hundred operations keeps all
// its depths, so its walk bounds each node once as it always did.
constexpr std::int64_t kWindowBytes = std::int64_t{32} << 20;
// Enough that a walk seldom climbs back above the window, where it bounds a node again.
constexpr std::int64_t kLeastSlots = 8;

std::size_t at(int index) { return static_cast<std::size_t>(index); }

// A slot's size when full: heads and tails per operation, six per-machine arrays.
std::int64_t slotBytes(const SearchProblem& p) {
  const std::int64_t operations = std::int64_t{p.jobs} * p.machines;
  return 8 * operations + 18 * std::int64_t{p.machines} + 256;
}

// The parent's bounds when they are still held and it had one job left at the same bound.
bool parentHasLoneJob(const BoundsWindow& w, const SearchNode& node) {
  const int parent = node.depth - 1;
  if (parent < 0 || w.holder[at(w.slotOf[at(parent)])] != parent) return false;
  return w.slots[at(w.slotOf[at(parent)])].loneJob >= 0 && w.boundWith[at(parent)] == node.bound;
}

}  // namespace

BoundsWindow makeBoundsWindow(const SearchProblem& problem) {
  const std::int64_t depths = std::int64_t{problem.jobs} * problem.machines + 1;
  const std::int64_t slots =
      std::min(depths, std::max(kLeastSlots, kWindowBytes / slotBytes(problem)));
  BoundsWindow w;
  w.slots.resize(static_cast<std::size_t>(slots));
  w.holder.assign(static_cast<std::size_t>(slots), -1);
  w.slotOf.assign(static_cast<std::size_t>(depths), 0);
  w.boundWith.assign(static_cast<std::size_t>(depths), 0);
  return w;
}

bool boundAtDepth(BoundsWindow& w, const SearchNode& node) {
  const int depth = node.depth;
  w.boundWith[at(depth)] = node.bound;
  if (parentHasLoneJob(w, node)) {
    // The parent's one child: its bounds become the child's in place.
    const int slot = w.slotOf[at(depth - 1)];
    boundLoneJobChild(node, w.slots[at(slot)]);
    w.holder[at(slot)] = depth;
    w.slotOf[at(depth)] = slot;
    return true;
  }
  const int slot = static_cast<int>(at(depth) % w.slots.size());
  const bool accepted = boundNode(node, w.slots[at(slot)]);
  w.holder[at(slot)] = accepted ? depth : -1;
  w.slotOf[at(depth)] = slot;
  return accepted;
}

const NodeBounds& boundsAtDepth(BoundsWindow& w, SearchNode& node) {
  const int depth = node.depth;
  const int held = w.slotOf[at(depth)];
  if (w.holder[at(held)] == depth) return w.slots[at(held)];
  const int bound = node.bound;
  node.bound = w.boundWith[at(depth)];
  const int slot = static_cast<int>(at(depth) % w.slots.size());
  boundNode(node, w.slots[at(slot)]);  // accepted the first time, so accepted again
  w.holder[at(slot)] = depth;
  w.slotOf[at(depth)] = slot;
  node.bound = bound;
  return w.slots[at(slot)];
}

void forgetBounds(BoundsWindow& w) { std::fill(w.holder.begin(), w.holder.end(), -1); }

}  // namespace jobshop
