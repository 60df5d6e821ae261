// The child test, the iterative depth-first walk and the shallow split of the exact search.
#include "exact/schedule_search.h"

#include <algorithm>
#include <cstddef>

#include "exact/bounds_window.h"
#include "exact/child_test.h"
#include "exact/search_node.h"
#include "results/optima_file.h"

namespace jobshop {

namespace {

constexpr std::int64_t kCheckInterval = 4096;

std::size_t at(int index) { return static_cast<std::size_t>(index); }

struct Level {
  int nextJob = 0;
  AppendUndo undo;
};

struct Walk {
  const SearchSettings& settings;
  std::int64_t foundLimit;
  SearchNode node;
  std::vector<Level> levels;
  BoundsWindow bounds;  // the path's, read by the children's test
  SearchOutcome outcome;
  bool halted = false;
  std::int64_t sinceCheck = 0;
  std::int64_t nodesReported = 0;
  std::int64_t foundReported = 0;

  Walk(const SearchProblem& p, const SearchSettings& s)
      : settings(s),
        foundLimit(s.stop ? s.stop->foundLimit : StopCondition::kUnlimited),
        node(makeSearchNode(p, s.bound)),
        bounds(makeBoundsWindow(p)) {
    levels.resize(at(node.length) + 1);
  }
};

// Bounds the node at the current depth, for its children's test.
bool boundHere(Walk& w) { return boundAtDepth(w.bounds, w.node); }

// Whether the walk may go below job's child of the current node, which boundHere accepted.
bool childTaken(Walk& w, int job) {
  return canAppend(w.node, job) && childMayFit(w.node, boundsAtDepth(w.bounds, w.node), job);
}

void halt(Walk& w, bool timedOut) {
  w.halted = true;
  w.outcome.stopped = true;
  w.outcome.timedOut = w.outcome.timedOut || timedOut;
}

void reportProgress(Walk& w) {
  if (w.settings.nodesSoFar) w.settings.nodesSoFar->fetch_add(w.outcome.nodes - w.nodesReported);
  if (w.settings.foundSoFar) w.settings.foundSoFar->fetch_add(w.outcome.found - w.foundReported);
  w.nodesReported = w.outcome.nodes;
  w.foundReported = w.outcome.found;
}

void countNode(Walk& w) {
  ++w.outcome.nodes;
  if (++w.sinceCheck < kCheckInterval) return;
  w.sinceCheck = 0;
  reportProgress(w);
  if (!w.settings.stop) return;
  if (w.settings.stop->stopRequested()) halt(w, false);
  if (w.settings.stop->pastDeadline()) halt(w, true);
}

void record(Walk& w) {
  const int makespan = *std::max_element(w.node.machineEnd.begin(), w.node.machineEnd.end());
  ++w.outcome.found;
  if (w.settings.list) appendOptimaListLine(w.node.sequences, makespan, w.outcome.listing);
  if (makespan < w.outcome.best) {
    w.outcome.best = makespan;
    w.outcome.bestSequences = w.node.sequences;
  }
  if (w.settings.tighten) w.node.bound = makespan - 1;
  if (w.outcome.found >= w.foundLimit) halt(w, false);
}

// Depth-first below the current node, whose bounds are in its level, children in job order.
void walkBelow(Walk& w) {
  SearchNode& n = w.node;
  countNode(w);
  if (n.depth == n.length) {
    record(w);
    return;
  }
  const int base = n.depth;
  w.levels[at(base)].nextJob = 0;
  while (!w.halted) {
    Level& level = w.levels[at(n.depth)];
    bool descended = false;
    // The node's bounds, looked up again only after a child is bounded, which may take their slot.
    const NodeBounds* bounds = nullptr;
    while (level.nextJob < n.jobs && !w.halted) {
      const int job = level.nextJob++;
      if (!canAppend(n, job)) continue;
      if (!bounds) bounds = &boundsAtDepth(w.bounds, n);
      if (!childMayFit(n, *bounds, job)) continue;
      level.undo = appendJob(n, job);
      if (n.depth == n.length) {
        countNode(w);
        record(w);
      } else {
        bounds = nullptr;
        if (boundHere(w)) {
          countNode(w);
          w.levels[at(n.depth)].nextJob = 0;
          descended = true;
          break;
        }
      }
      undoAppend(n, level.undo);
    }
    if (descended) continue;
    if (n.depth == base) return;
    undoAppend(n, w.levels[at(n.depth - 1)].undo);
  }
}

// Replays prefix from the root; false when some step of it is not allowed.
bool replay(Walk& w, const SearchPrefix& prefix) {
  for (int job : prefix) {
    if (job < 0 || job >= w.node.jobs || !canAppend(w.node, job)) return false;
    Level& level = w.levels[at(w.node.depth)];  // the depth before the step, where rewind reads
    level.undo = appendJob(w.node, job);
  }
  return true;
}

// Takes the walk back to the root, for the next prefix; the bounds it holds are of another path.
void rewind(Walk& w) {
  while (w.node.depth > 0) undoAppend(w.node, w.levels[at(w.node.depth - 1)].undo);
  forgetBounds(w.bounds);
}

// A complete schedule within the bound, or a node that boundNode accepts.
bool acceptedHere(Walk& w) { return w.node.depth == w.node.length ? true : boundHere(w); }

}  // namespace

SearchOutcome searchSubtree(const SearchProblem& problem, const SearchPrefix& prefix,
                            const SearchSettings& settings) {
  Walk w(problem, settings);
  if (replay(w, prefix) && acceptedHere(w)) walkBelow(w);
  reportProgress(w);
  return std::move(w.outcome);
}

constexpr std::size_t kMaxSplitDepth = 256;

std::vector<SearchPrefix> splitSearch(const SearchProblem& problem, int bound, int minSubtrees) {
  return splitBelow(problem, bound, {}, minSubtrees);
}

std::vector<SearchPrefix> splitBelow(const SearchProblem& problem, int bound,
                                     const SearchPrefix& root, int minSubtrees) {
  SearchSettings settings;
  settings.bound = bound;
  // One walk for every prefix: a walk's arrays are as long as the operations, and fresh ones for
  // each would cost more than the prefixes on a long instance.
  Walk w(problem, settings);
  std::vector<SearchPrefix> level;
  if (replay(w, root) && acceptedHere(w)) level.push_back(root);
  const std::size_t wanted = static_cast<std::size_t>(std::max(minSubtrees, 1));
  const std::size_t length =
      static_cast<std::size_t>(problem.jobs) * static_cast<std::size_t>(problem.machines);
  // Each level replays its prefixes from the root, so a tree that does not widen (one job of many
  // machines) would cost the square of its depth to cut: below kMaxSplitDepth more steps than the
  // root's the subtrees are left as they are, which no tree that widens at all reaches.
  const std::size_t deepest = std::min(length, root.size() + kMaxSplitDepth);
  while (!level.empty() && level.size() < wanted && level.front().size() < deepest) {
    std::vector<SearchPrefix> next;
    for (const SearchPrefix& prefix : level) {
      rewind(w);
      replay(w, prefix);
      boundHere(w);  // accepted when the prefix was taken, and it fills the children's bounds
      for (int job = 0; job < w.node.jobs; ++job) {
        if (!childTaken(w, job)) continue;
        const AppendUndo undo = appendJob(w.node, job);
        if (acceptedHere(w)) {
          next.push_back(prefix);
          next.back().push_back(job);
        }
        undoAppend(w.node, undo);
      }
    }
    level = std::move(next);
  }
  return level;
}

}  // namespace jobshop
