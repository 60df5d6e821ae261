// The disjunctive graph of a partial schedule: the job routes and the machine orders fixed so far,
// kept as their transitive closure (one bitset of successors and one of predecessors per
// operation), with every operation's head (longest path to its start) and tail (longest path from
// its end to the makespan), both only ever raised.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "exact/search_problem.h"

namespace jobshop {

// The most operations the bitsets take: a closure row is a few words, copied on the stack.
inline constexpr int kMaxDisjunctiveWords = 16;
inline constexpr int kMaxDisjunctiveOps = kMaxDisjunctiveWords * 64;

// What does not change while the graph is searched: the instance and the bound.
struct DisjunctiveLayout {
  int ops = 0;
  int words = 0;  // 64-bit words per bitset
  int bound = 0;
  std::vector<int> duration;
  std::vector<int> machine;
  std::vector<int> jobNext;  // the job's next operation, -1 for its last
  std::vector<int> jobPrev;  // the job's previous operation, -1 for its first
  // [m * jobs + i]: the i-th operation of machine m, in job order.
  std::vector<int> machineOps;
  int jobs = 0;
  int machines = 0;
};

DisjunctiveLayout makeDisjunctiveLayout(const SearchProblem& problem, int bound);

struct DisjunctiveGraph {
  std::vector<std::uint64_t> after;   // [op * words + w]: closure successors
  std::vector<std::uint64_t> before;  // [op * words + w]: closure predecessors
  std::vector<int> head;
  std::vector<int> tail;
  // [m]: a head or tail of machine m rose since its pairs (its edge finding) last looked, so
  // the machines left alone need no new look.
  std::vector<std::uint8_t> selectDue;
  std::vector<std::uint8_t> edgeFindDue;
};

// The routes alone, or nothing when some job cannot end within the bound.
bool initialGraph(const DisjunctiveLayout& layout, DisjunctiveGraph& graph);

inline bool precedes(const DisjunctiveLayout& layout, const DisjunctiveGraph& graph, int x, int y) {
  const std::size_t word = static_cast<std::size_t>(x) * static_cast<std::size_t>(layout.words) +
                           static_cast<std::size_t>(y / 64);
  return ((graph.after[word] >> (y % 64)) & 1U) != 0;
}

// Fixes x before y (neither precedes the other yet): closes the order transitively and raises the
// heads after it and the tails before it. False when some path then exceeds the bound.
bool fixOrder(const DisjunctiveLayout& layout, DisjunctiveGraph& graph, int x, int y);

// Raises op's head (tail) to at least value and every head after it (tail before it) with it; false
// when some path then exceeds the bound.
bool raiseHead(const DisjunctiveLayout& layout, DisjunctiveGraph& graph, int op, int value);
bool raiseTail(const DisjunctiveLayout& layout, DisjunctiveGraph& graph, int op, int value);

}  // namespace jobshop
