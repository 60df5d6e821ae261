// The depth-first count with its cache: each child is looked up by its key before it is bounded,
// and the count of a child searched to the end is stored under its key.
#include "exact/memo_count.h"

#include <vector>

#include "exact/child_test.h"
#include "exact/node_bounds.h"
#include "exact/search_node.h"
#include "exact/search_state_key.h"

namespace jobshop {

namespace {

constexpr std::int64_t kCheckInterval = 4096;

std::size_t at(int index) { return static_cast<std::size_t>(index); }

struct MemoWalk {
  const MemoCountLimits& limits;
  CountCache& cache;
  SearchNode node;
  StateKeyWriter keyWriter;
  StateKeyShape shape;
  int width;
  std::vector<NodeBounds> bounds;     // per depth
  std::vector<std::uint64_t> keys;    // per depth, shape.words each
  std::vector<std::uint64_t> counts;  // per depth, width limbs each
  MemoCountOutcome outcome;
  bool halted = false;
  std::int64_t sinceCheck = 0;
  std::int64_t nodesReported = 0;
  std::int64_t storesReported = 0;

  MemoWalk(const SearchProblem& p, const MemoCountLimits& l, CountCache& c)
      : limits(l),
        cache(c),
        node(makeSearchNode(p, l.bound)),
        keyWriter(p, l.bound),
        shape(keyWriter.shape()),
        width(countLimbsFor(p)) {
    const std::size_t levels = at(node.length) + 1;
    bounds.resize(levels);
    keys.assign(levels * at(shape.words), 0);
    counts.assign(levels * at(width), 0);
    outcome.count = WideCount(width);
  }

  std::span<std::uint64_t> key(int depth) {
    return {keys.data() + at(depth) * at(shape.words), at(shape.words)};
  }
  CountLimbs count(int depth) { return {counts.data() + at(depth) * at(width), at(width)}; }
};

// Passes the nodes and stores since the last report on to the shared counters.
void reportNodes(MemoWalk& w) {
  if (w.limits.nodesSoFar) w.limits.nodesSoFar->fetch_add(w.outcome.nodes - w.nodesReported);
  w.nodesReported = w.outcome.nodes;
  w.cache.noteStores(static_cast<std::size_t>(w.outcome.cache.stores - w.storesReported));
  w.storesReported = w.outcome.cache.stores;
}

void countNode(MemoWalk& w) {
  ++w.outcome.nodes;
  if (++w.sinceCheck < kCheckInterval) return;
  w.sinceCheck = 0;
  reportNodes(w);
  if (!w.limits.stop) return;
  const bool stopAsked = w.limits.stop->stopRequested();
  const bool late = w.limits.stop->pastDeadline();
  if (stopAsked || late) {
    w.halted = true;
    w.outcome.stopped = true;
    w.outcome.timedOut = w.outcome.timedOut || late;
  }
}

// Counts the completions of the current node, which its bounds at its depth accept, into the
// count at its depth; returns the nodes it took. A halted walk leaves a lower bound there.
std::uint64_t countBelow(MemoWalk& w) {
  SearchNode& n = w.node;
  const int depth = n.depth;
  CountLimbs total = w.count(depth);
  clearCount(total);
  std::uint64_t work = 1;
  for (int job = 0; job < n.jobs && !w.halted; ++job) {
    if (!canAppend(n, job) || !childMayFit(n, w.bounds[at(depth)], job)) continue;
    const AppendUndo undo = appendJob(n, job);
    countNode(w);
    ++work;
    if (n.depth == n.length) {
      addSmallCount(total, 1);
    } else {
      const std::span<std::uint64_t> key = w.key(n.depth);
      w.keyWriter.write(n, key);
      const std::uint64_t hash = stateKeyHash(key);
      unsigned __int128 known = 0;
      if (w.cache.find(key, hash, known, w.outcome.cache)) {
        addSmallCount(total, known);
      } else if (boundNode(n, w.bounds[at(n.depth)])) {
        const std::uint64_t childWork = countBelow(w);
        work += childWork;
        addCount(total, w.count(n.depth));
        if (!w.halted && childWork >= w.limits.storeFrom && countFits128(w.count(n.depth), known)) {
          w.cache.store(key, hash, known, childWork, w.outcome.cache);
        }
      }
    }
    undoAppend(n, undo);
  }
  return work;
}

}  // namespace

MemoCountOutcome countSubtree(const SearchProblem& problem, const SearchPrefix& prefix,
                              const MemoCountLimits& limits, CountCache& cache) {
  MemoWalk w(problem, limits, cache);
  for (int job : prefix) {
    if (job < 0 || job >= w.node.jobs || !canAppend(w.node, job)) return std::move(w.outcome);
    appendJob(w.node, job);
  }
  if (w.node.depth == w.node.length) {
    addSmallCount(w.outcome.count.limbs, 1);
  } else if (boundNode(w.node, w.bounds[at(w.node.depth)])) {
    countBelow(w);
    addCount(w.outcome.count.limbs, w.count(w.node.depth));
  }
  reportNodes(w);
  return std::move(w.outcome);
}

}  // namespace jobshop
