// Immediate selection and edge finding on the disjunctive graph, machine by machine.
#include "exact/disjunctive_propagation.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "exact/edge_finding.h"

namespace jobshop {

namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

// The longest path through x then y, were x put before y.
int pathThrough(const DisjunctiveLayout& layout, const DisjunctiveGraph& graph, int x, int y) {
  return graph.head[at(x)] + layout.duration[at(x)] + layout.duration[at(y)] + graph.tail[at(y)];
}

// Fixes every pair of machine m with one order left; false when a pair has none.
bool selectOnMachine(const DisjunctiveLayout& layout, DisjunctiveGraph& graph, int m) {
  const int row = m * layout.jobs;
  for (int i = 0; i < layout.jobs; ++i) {
    const int x = layout.machineOps[at(row + i)];
    for (int k = i + 1; k < layout.jobs; ++k) {
      const int y = layout.machineOps[at(row + k)];
      if (precedes(layout, graph, x, y) || precedes(layout, graph, y, x)) continue;
      const bool xFirst = pathThrough(layout, graph, x, y) <= layout.bound;
      const bool yFirst = pathThrough(layout, graph, y, x) <= layout.bound;
      if (xFirst && yFirst) continue;
      if (!xFirst && !yFirst) return false;
      const bool fitted = xFirst ? fixOrder(layout, graph, x, y) : fixOrder(layout, graph, y, x);
      if (!fitted) return false;
    }
  }
  return true;
}

// Edge finding on machine m, heads then tails by the mirror rule; false when it finds no room.
bool edgeFindOnMachine(const DisjunctiveLayout& layout, DisjunctiveGraph& graph, int m) {
  std::array<int, kMaxSearchJobs> duration{};
  std::array<int, kMaxSearchJobs> head{};
  std::array<int, kMaxSearchJobs> tail{};
  const int row = m * layout.jobs;
  const auto load = [&] {
    for (int i = 0; i < layout.jobs; ++i) {
      const int op = layout.machineOps[at(row + i)];
      duration[at(i)] = layout.duration[at(op)];
      head[at(i)] = graph.head[at(op)];
      tail[at(i)] = graph.tail[at(op)];
    }
  };
  load();
  bool rose = false;
  if (!edgeFindHeads(duration, head, tail, layout.jobs, layout.bound, rose)) return false;
  for (int i = 0; rose && i < layout.jobs; ++i) {
    if (!raiseHead(layout, graph, layout.machineOps[at(row + i)], head[at(i)])) return false;
  }
  load();
  rose = false;
  // The mirror rule: tails take the place of heads.
  // NOLINTNEXTLINE(readability-suspicious-call-argument)
  if (!edgeFindHeads(duration, tail, head, layout.jobs, layout.bound, rose)) return false;
  for (int i = 0; rose && i < layout.jobs; ++i) {
    if (!raiseTail(layout, graph, layout.machineOps[at(row + i)], tail[at(i)])) return false;
  }
  return true;
}

}  // namespace

bool propagateForced(const DisjunctiveLayout& layout, DisjunctiveGraph& graph) {
  const auto due = [](std::vector<std::uint8_t>& flags, int m) {
    const bool was = flags[at(m)] != 0;
    flags[at(m)] = 0;
    return was;
  };
  for (bool again = true; again;) {
    again = false;
    for (bool selected = true; selected;) {
      selected = false;
      for (int m = 0; m < layout.machines; ++m) {
        if (!due(graph.selectDue, m)) continue;
        if (!selectOnMachine(layout, graph, m)) return false;
        selected = true;
      }
    }
    for (int m = 0; m < layout.machines; ++m) {
      if (due(graph.edgeFindDue, m) && !edgeFindOnMachine(layout, graph, m)) return false;
    }
    for (int m = 0; m < layout.machines; ++m) again = again || graph.selectDue[at(m)] != 0;
  }
  return true;
}

OpenPair tightestOpenPair(const DisjunctiveLayout& layout, const DisjunctiveGraph& graph) {
  OpenPair best;
  int tightest = -1;
  for (int m = 0; m < layout.machines; ++m) {
    const int row = m * layout.jobs;
    for (int i = 0; i < layout.jobs; ++i) {
      const int x = layout.machineOps[at(row + i)];
      for (int k = i + 1; k < layout.jobs; ++k) {
        const int y = layout.machineOps[at(row + k)];
        if (precedes(layout, graph, x, y) || precedes(layout, graph, y, x)) continue;
        const int xy = pathThrough(layout, graph, x, y);
        const int yx = pathThrough(layout, graph, y, x);
        if (std::min(xy, yx) <= tightest) continue;
        tightest = std::min(xy, yx);
        // The roomier order first: it is the likelier to hold schedules.
        best = xy <= yx ? OpenPair{x, y} : OpenPair{y, x};
      }
    }
  }
  return best;
}

}  // namespace jobshop
