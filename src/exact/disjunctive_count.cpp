// The depth-first walk over pair orders, and the cut of its first levels among threads.
#include "exact/disjunctive_count.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <deque>
#include <thread>
#include <vector>

#include "exact/disjunctive_graph.h"
#include "exact/disjunctive_propagation.h"

namespace jobshop {

namespace {

// How often a walk looks at the clock and the signal: a few milliseconds of nodes.
constexpr std::int64_t kNodesBetweenLooks = 1024;
// Subtrees per thread in the cut, so that uneven subtrees still even out.
constexpr std::size_t kSubtreesPerThread = 16;

// One thread's depth-first walk, with a graph per depth so that a child costs one copy.
class PairWalk {
 public:
  PairWalk(const DisjunctiveLayout& layout, const StopCondition& stop, std::atomic<bool>& halted)
      : layout_(layout), stop_(stop), halted_(halted) {}

  // Counts the orientations below graph, whose forced orders are already propagated.
  void walk(const DisjunctiveGraph& graph, std::size_t depth) {
    if (!visit()) return;
    const OpenPair pair = tightestOpenPair(layout_, graph);
    if (pair.first < 0) {
      ++count_;
      return;
    }
    if (levels_.size() <= depth) levels_.resize(depth + 1);
    for (const bool swapped : {false, true}) {
      DisjunctiveGraph& child = levels_[depth];
      child = graph;
      const int x = swapped ? pair.second : pair.first;
      const int y = swapped ? pair.first : pair.second;
      if (fixOrder(layout_, child, x, y) && propagateForced(layout_, child)) walk(child, depth + 1);
      if (halted_.load(std::memory_order_relaxed)) return;
    }
  }

  std::uint64_t count() const { return count_; }
  std::int64_t nodes() const { return nodes_; }

 private:
  // Counts a node; false once the count is to stop.
  bool visit() {
    if (halted_.load(std::memory_order_relaxed)) return false;
    ++nodes_;
    if (nodes_ % kNodesBetweenLooks == 0 && (stop_.reached() || nodes_ >= stop_.nodeLimit)) {
      halted_.store(true, std::memory_order_relaxed);
      return false;
    }
    return true;
  }

  const DisjunctiveLayout& layout_;
  const StopCondition& stop_;
  std::atomic<bool>& halted_;
  // A deque, so that growing it leaves the graphs of the levels above where they are.
  std::deque<DisjunctiveGraph> levels_;
  std::uint64_t count_ = 0;
  std::int64_t nodes_ = 0;
};

// The children of graph that survive propagation, in the walk's order; empty for a leaf, which
// isLeaf then says.
std::vector<DisjunctiveGraph> childrenOf(const DisjunctiveLayout& layout,
                                         const DisjunctiveGraph& graph, bool& isLeaf) {
  const OpenPair pair = tightestOpenPair(layout, graph);
  isLeaf = pair.first < 0;
  std::vector<DisjunctiveGraph> children;
  if (isLeaf) return children;
  for (const bool swapped : {false, true}) {
    DisjunctiveGraph child = graph;
    const int x = swapped ? pair.second : pair.first;
    const int y = swapped ? pair.first : pair.second;
    if (fixOrder(layout, child, x, y) && propagateForced(layout, child)) {
      children.push_back(std::move(child));
    }
  }
  return children;
}

struct Cut {
  std::vector<DisjunctiveGraph> subtrees;
  std::uint64_t leaves = 0;  // schedules met above the cut
  std::int64_t nodes = 0;    // nodes expanded above the cut
};

// Expands the shallowest level until it holds enough subtrees for the threads, in tree order.
Cut cutTree(const DisjunctiveLayout& layout, DisjunctiveGraph root, std::size_t wanted) {
  Cut cut;
  cut.subtrees.push_back(std::move(root));
  while (cut.subtrees.size() < wanted && !cut.subtrees.empty()) {
    std::vector<DisjunctiveGraph> next;
    for (const DisjunctiveGraph& graph : cut.subtrees) {
      bool isLeaf = false;
      std::vector<DisjunctiveGraph> children = childrenOf(layout, graph, isLeaf);
      ++cut.nodes;
      if (isLeaf) ++cut.leaves;
      for (DisjunctiveGraph& child : children) next.push_back(std::move(child));
    }
    cut.subtrees = std::move(next);
  }
  return cut;
}

}  // namespace

bool fitsDisjunctiveCount(const SearchProblem& problem) {
  return problem.jobs * problem.machines <= kMaxDisjunctiveOps;
}

DisjunctiveCountResult countDisjunctive(const SearchProblem& problem,
                                        const DisjunctiveCountRequest& request) {
  DisjunctiveCountResult result;
  const StopCondition never;
  const StopCondition& stop = request.stop != nullptr ? *request.stop : never;
  const DisjunctiveLayout layout = makeDisjunctiveLayout(problem, request.bound);
  DisjunctiveGraph root;
  if (!initialGraph(layout, root) || !propagateForced(layout, root)) return result;
  const auto threads = static_cast<std::size_t>(std::max(1, request.threads));
  const Cut cut =
      threads == 1 ? Cut{{root}, 0, 0} : cutTree(layout, root, threads * kSubtreesPerThread);
  std::atomic<bool> halted{false};
  std::atomic<std::size_t> nextSubtree{0};
  std::vector<std::uint64_t> counts(cut.subtrees.size(), 0);
  std::vector<std::int64_t> nodes(threads, 0);
  const auto work = [&](std::size_t thread) {
    PairWalk walk(layout, stop, halted);
    for (std::size_t i = nextSubtree++; i < cut.subtrees.size(); i = nextSubtree++) {
      const std::uint64_t before = walk.count();
      walk.walk(cut.subtrees[i], 0);
      counts[i] = walk.count() - before;
    }
    nodes[thread] = walk.nodes();
  };
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(work, t);
  work(0);
  for (std::thread& thread : pool) thread.join();
  result.count = cut.leaves;
  for (const std::uint64_t count : counts) result.count += count;
  result.nodes = cut.nodes;
  for (const std::int64_t n : nodes) result.nodes += n;
  result.complete = !halted.load();
  result.timedOut = !result.complete;
  return result;
}

}  // namespace jobshop
