// The closure and the longest paths of the disjunctive graph, updated as orders are fixed.
#include "exact/disjunctive_graph.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace jobshop {

namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

void setBit(std::vector<std::uint64_t>& bits, int words, int row, int column) {
  bits[at(row * words + column / 64)] |= std::uint64_t{1} << (column % 64);
}

// row |= source: the operations on the other side of a new order.
void mergeInto(std::vector<std::uint64_t>& bits, int words, int row, const std::uint64_t* source) {
  std::uint64_t* target = bits.data() + at(row * words);
  for (int w = 0; w < words; ++w) target[w] |= source[w];
}

void markDue(const DisjunctiveLayout& layout, DisjunctiveGraph& graph, int op) {
  const auto m = at(layout.machine[at(op)]);
  graph.selectDue[m] = 1;
  graph.edgeFindDue[m] = 1;
}

bool fits(const DisjunctiveLayout& layout, const DisjunctiveGraph& graph, int op) {
  return graph.head[at(op)] + layout.duration[at(op)] + graph.tail[at(op)] <= layout.bound;
}

}  // namespace

DisjunctiveLayout makeDisjunctiveLayout(const SearchProblem& problem, int bound) {
  DisjunctiveLayout layout;
  layout.jobs = problem.jobs;
  layout.machines = problem.machines;
  layout.ops = problem.jobs * problem.machines;
  layout.words = (layout.ops + 63) / 64;
  layout.bound = bound;
  layout.duration = problem.duration;
  layout.machine = problem.machine;
  layout.jobNext.assign(at(layout.ops), -1);
  layout.jobPrev.assign(at(layout.ops), -1);
  layout.machineOps.assign(at(layout.ops), -1);
  for (int j = 0; j < problem.jobs; ++j) {
    for (int k = 0; k < problem.machines; ++k) {
      const int op = j * problem.machines + k;
      if (k + 1 < problem.machines) layout.jobNext[at(op)] = op + 1;
      if (k > 0) layout.jobPrev[at(op)] = op - 1;
      layout.machineOps[at(problem.machine[at(op)] * problem.jobs + j)] = op;
    }
  }
  return layout;
}

bool initialGraph(const DisjunctiveLayout& layout, DisjunctiveGraph& graph) {
  const std::size_t bits = at(layout.ops * layout.words);
  graph.after.assign(bits, 0);
  graph.before.assign(bits, 0);
  graph.head.assign(at(layout.ops), 0);
  graph.tail.assign(at(layout.ops), 0);
  graph.selectDue.assign(at(layout.machines), 1);
  graph.edgeFindDue.assign(at(layout.machines), 1);
  const int m = layout.machines;
  for (int j = 0; j < layout.jobs; ++j) {
    int start = 0;
    for (int k = 0; k < m; ++k) {
      const int op = j * m + k;
      graph.head[at(op)] = start;
      start += layout.duration[at(op)];
      for (int later = k + 1; later < m; ++later) {
        setBit(graph.after, layout.words, op, j * m + later);
        setBit(graph.before, layout.words, j * m + later, op);
      }
    }
    int rest = 0;
    for (int k = m - 1; k >= 0; --k) {
      graph.tail[at(j * m + k)] = rest;
      rest += layout.duration[at(j * m + k)];
    }
    if (start > layout.bound) return false;
  }
  return true;
}

bool raiseHead(const DisjunctiveLayout& layout, DisjunctiveGraph& graph, int op, int value) {
  if (value <= graph.head[at(op)]) return true;
  graph.head[at(op)] = value;
  markDue(layout, graph, op);
  if (!fits(layout, graph, op)) return false;
  const int end = value + layout.duration[at(op)];
  const int next = layout.jobNext[at(op)];
  if (next >= 0 && !raiseHead(layout, graph, next, end)) return false;
  const int row = layout.machine[at(op)] * layout.jobs;
  for (int i = 0; i < layout.jobs; ++i) {
    const int other = layout.machineOps[at(row + i)];
    if (precedes(layout, graph, op, other) && !raiseHead(layout, graph, other, end)) return false;
  }
  return true;
}

bool raiseTail(const DisjunctiveLayout& layout, DisjunctiveGraph& graph, int op, int value) {
  if (value <= graph.tail[at(op)]) return true;
  graph.tail[at(op)] = value;
  markDue(layout, graph, op);
  if (!fits(layout, graph, op)) return false;
  const int through = value + layout.duration[at(op)];
  const int prev = layout.jobPrev[at(op)];
  if (prev >= 0 && !raiseTail(layout, graph, prev, through)) return false;
  const int row = layout.machine[at(op)] * layout.jobs;
  for (int i = 0; i < layout.jobs; ++i) {
    const int other = layout.machineOps[at(row + i)];
    if (precedes(layout, graph, other, op) && !raiseTail(layout, graph, other, through)) {
      return false;
    }
  }
  return true;
}

bool fixOrder(const DisjunctiveLayout& layout, DisjunctiveGraph& graph, int x, int y) {
  const int words = layout.words;
  // Everything up to x now precedes everything from y on. The rows are copied first: x's own
  // predecessor row and y's successor row change while they are merged.
  std::array<std::uint64_t, kMaxDisjunctiveWords> upToX{};
  std::array<std::uint64_t, kMaxDisjunctiveWords> fromY{};
  std::copy_n(graph.before.begin() + static_cast<std::ptrdiff_t>(x) * words, words, upToX.begin());
  std::copy_n(graph.after.begin() + static_cast<std::ptrdiff_t>(y) * words, words, fromY.begin());
  upToX[at(x / 64)] |= std::uint64_t{1} << (x % 64);
  fromY[at(y / 64)] |= std::uint64_t{1} << (y % 64);
  for (int w = 0; w < words; ++w) {
    for (std::uint64_t bits = upToX[at(w)]; bits != 0; bits &= bits - 1) {
      mergeInto(graph.after, words, w * 64 + __builtin_ctzll(bits), fromY.data());
    }
    for (std::uint64_t bits = fromY[at(w)]; bits != 0; bits &= bits - 1) {
      mergeInto(graph.before, words, w * 64 + __builtin_ctzll(bits), upToX.data());
    }
  }
  return raiseHead(layout, graph, y, graph.head[at(x)] + layout.duration[at(x)]) &&
         raiseTail(layout, graph, x, graph.tail[at(y)] + layout.duration[at(y)]);
}

}  // namespace jobshop
