// The depth-first count with its cache: each child is looked up by its key before it is bounded,
// and the count of a child searched to the end is stored under its key.
#include "exact/memo_count.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "exact/bounds_window.h"
#include "exact/child_test.h"
#include "exact/order_set.h"
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
  BoundsWindow bounds;                // the path's
  std::vector<std::uint64_t> keys;    // per depth, shape.words each
  std::vector<std::uint64_t> counts;  // per depth, width limbs each
  std::vector<int> stepJob;           // per depth, the job appended to reach it
  int orderWords;
  // Per depth, orderWords each: the orders realised below the node at that depth so far.
  std::vector<std::uint64_t> seen;
  std::vector<std::uint64_t> found;   // the order set of a count found in the cache
  int rootDepth = 0;                  // the depth of the subtree's root
  const WideCount* before = nullptr;  // the count before the place a resumed walk goes on from
  MemoCountOutcome outcome;
  bool halted = false;
  std::int64_t sinceCheck = 0;
  // Every kCheckInterval nodes, or at a walk's own node limit when that is nearer: a small
  // allowance is then kept to the node.
  std::int64_t checkInterval = kCheckInterval;
  std::int64_t nodesReported = 0;
  std::int64_t storesReported = 0;

  MemoWalk(const SearchProblem& p, const MemoCountLimits& l, CountCache& c)
      : limits(l),
        cache(c),
        node(makeSearchNode(p, l.bound)),
        keyWriter(p, l.bound),
        shape(keyWriter.shape()),
        width(countLimbsFor(p)),
        bounds(makeBoundsWindow(p)),
        orderWords(l.orderWords) {
    if (l.stop && !l.nodesSoFar)
      checkInterval = std::clamp<std::int64_t>(l.stop->nodeLimit, 1, kCheckInterval);
    const std::size_t levels = at(node.length) + 1;
    stepJob.assign(levels, 0);
    seen.assign(levels * at(orderWords), 0);
    found.assign(at(orderWords), 0);
    keys.assign(levels * at(shape.words), 0);
    counts.assign(levels * at(width), 0);
    outcome.count = WideCount(width);
  }

  std::span<std::uint64_t> key(int depth) {
    return {keys.data() + at(depth) * at(shape.words), at(shape.words)};
  }
  CountLimbs count(int depth) { return {counts.data() + at(depth) * at(width), at(width)}; }
  std::span<std::uint64_t> orders(int depth) {
    return {seen.data() + at(depth) * at(orderWords), at(orderWords)};
  }
};

bool isZero(ConstCountLimbs count) {
  for (std::uint64_t limb : count) {
    if (limb != 0) return false;
  }
  return true;
}

// Adds to the parent's order set those of a child with completions: the child's own (below) and
// the orders its append fixed. The node is still the child, reached by undo.
void noteChildOrders(MemoWalk& w, const AppendUndo& undo, std::span<const std::uint64_t> below) {
  const std::span<std::uint64_t> parent = w.orders(w.node.depth - 1);
  if (!below.empty()) addOrders(parent, below);
  addFixedOrders(w.node, undo.machine, undo.job, parent);
}

// Passes the nodes and stores since the last report on to the shared counters.
void reportNodes(MemoWalk& w) {
  if (w.limits.nodesSoFar) w.limits.nodesSoFar->fetch_add(w.outcome.nodes - w.nodesReported);
  w.nodesReported = w.outcome.nodes;
  w.cache.noteStores(static_cast<std::size_t>(w.outcome.cache.stores - w.storesReported));
  w.storesReported = w.outcome.cache.stores;
}

// The place of the step just appended: every count on the way down holds the children finished
// before the one taken there, so their sum is all the walk counted before this step.
void notePlace(MemoWalk& w) {
  SubtreePlace& place = w.outcome.stoppedAt;
  const int depth = w.node.depth;
  place.at.assign(w.stepJob.begin() + w.rootDepth + 1, w.stepJob.begin() + depth + 1);
  place.before = w.before ? *w.before : WideCount(w.width);
  for (int d = w.rootDepth; d < depth; ++d) addCount(place.before.limbs, w.count(d));
}

// The count's nodes so far, all threads', against its node limit.
bool pastNodeLimit(const MemoWalk& w) {
  const std::int64_t walked = w.limits.nodesSoFar ? w.limits.nodesSoFar->load() : w.outcome.nodes;
  return walked >= w.limits.stop->nodeLimit;
}

void countNode(MemoWalk& w) {
  ++w.outcome.nodes;
  if (++w.sinceCheck < w.checkInterval) return;
  w.sinceCheck = 0;
  reportNodes(w);
  if (!w.limits.stop) return;
  const bool stopAsked = w.limits.stop->stopRequested() || pastNodeLimit(w);
  const bool late = w.limits.stop->pastDeadline();
  if (stopAsked || late) {
    w.halted = true;
    w.outcome.stopped = true;
    notePlace(w);
    w.outcome.timedOut = w.outcome.timedOut || late;
  }
}

std::uint64_t countBelow(MemoWalk& w);

// Whether the walk may go below job's child of the current node, which the walk bounded.
bool childTaken(MemoWalk& w, int job) {
  return canAppend(w.node, job) && childMayFit(w.node, boundsAtDepth(w.bounds, w.node), job);
}

// Adds the completions of the current node through its children from job `first` on, which its
// bounds at its depth accept, to the count at its depth; returns the nodes it took. A halted walk
// leaves a lower bound there.
std::uint64_t countChildrenFrom(MemoWalk& w, int first) {
  SearchNode& n = w.node;
  const int depth = n.depth;
  CountLimbs total = w.count(depth);
  std::uint64_t work = 1;
  // The node's bounds, looked up again only after a child is bounded, which may take their slot.
  const NodeBounds* bounds = nullptr;
  for (int job = first; job < n.jobs && !w.halted; ++job) {
    if (!canAppend(n, job)) continue;
    if (!bounds) bounds = &boundsAtDepth(w.bounds, n);
    if (!childMayFit(n, *bounds, job)) continue;
    const AppendUndo undo = appendJob(n, job);
    w.stepJob[at(n.depth)] = job;
    countNode(w);
    ++work;
    if (n.depth == n.length) {
      addSmallCount(total, 1);
      if (w.orderWords > 0) noteChildOrders(w, undo, {});
    } else {
      const std::span<std::uint64_t> key = w.key(n.depth);
      w.keyWriter.write(n, key);
      const std::uint64_t hash = stateKeyHash(key);
      unsigned __int128 known = 0;
      if (w.cache.find(key, hash, known, w.outcome.cache, w.found)) {
        addSmallCount(total, known);
        if (w.orderWords > 0 && known != 0) noteChildOrders(w, undo, w.found);
      } else {
        bounds = nullptr;
        if (boundAtDepth(w.bounds, n)) {
          const std::uint64_t childWork = countBelow(w);
          work += childWork;
          addCount(total, w.count(n.depth));
          if (w.orderWords > 0 && !isZero(w.count(n.depth))) {
            noteChildOrders(w, undo, w.orders(n.depth));
          }
          if (!w.halted && childWork >= w.limits.storeFrom &&
              countFits128(w.count(n.depth), known)) {
            w.cache.store(key, hash, known, childWork, w.outcome.cache, w.orders(n.depth));
          }
        }
      }
    }
    undoAppend(n, undo);
  }
  return work;
}

// Counts the completions of the current node, which its bounds at its depth accept, into the
// count at its depth; returns the nodes it took.
std::uint64_t countBelow(MemoWalk& w) {
  clearCount(w.count(w.node.depth));
  std::ranges::fill(w.orders(w.node.depth), 0);
  return countChildrenFrom(w, 0);
}

// Appends the child `job` of the current node if the walk takes it and goes below it: the
// canonical order allows it, it may fit, and it is no schedule yet and passes its own bounds.
std::optional<AppendUndo> enterChild(MemoWalk& w, int job) {
  SearchNode& n = w.node;
  if (job < 0 || job >= n.jobs || !childTaken(w, job)) return std::nullopt;
  const AppendUndo undo = appendJob(n, job);
  w.stepJob[at(n.depth)] = job;
  if (n.depth < n.length && boundAtDepth(w.bounds, n)) return undo;
  undoAppend(n, undo);
  return std::nullopt;
}

// Counts into the count at the current depth the completions of the current node from the place
// on (its steps from `step`), as countBelow's order meets them: the child on the place only from
// the place on, the children after it whole.
void countFromPlace(MemoWalk& w, const std::vector<int>& place, std::size_t step) {
  clearCount(w.count(w.node.depth));
  std::ranges::fill(w.orders(w.node.depth), 0);
  const int job = place[step];
  if (step + 1 == place.size()) {
    countChildrenFrom(w, job);
    return;
  }
  const std::optional<AppendUndo> undo = enterChild(w, job);
  if (!undo) return;  // placeWithin refuses such a place before any count
  countFromPlace(w, place, step + 1);
  addCount(w.count(w.node.depth - 1), w.count(w.node.depth));
  if (w.orderWords > 0 && !isZero(w.count(w.node.depth))) {
    noteChildOrders(w, *undo, w.orders(w.node.depth));
  }
  undoAppend(w.node, *undo);
  countChildrenFrom(w, job + 1);
}

// Appends the prefix to the root, adding the orders its appends fix to fixed when given; false
// when the walk could not reach its end.
bool appendPrefix(SearchNode& node, const SearchPrefix& prefix,
                  std::span<std::uint64_t> fixed = {}) {
  for (int job : prefix) {
    if (job < 0 || job >= node.jobs || !canAppend(node, job)) return false;
    const AppendUndo undo = appendJob(node, job);
    if (!fixed.empty()) addFixedOrders(node, undo.machine, undo.job, fixed);
  }
  return true;
}

// The orders of the schedules the walk counted: those below the subtree's root and those its
// prefix fixed, or none when it counted none.
void noteSeenOrders(MemoWalk& w, std::vector<std::uint64_t>& prefixOrders) {
  if (w.orderWords == 0 || isZero(w.outcome.count.limbs)) return;
  if (w.node.depth < w.node.length) addOrders(prefixOrders, w.orders(w.node.depth));
  w.outcome.seenOrders = std::move(prefixOrders);
}

}  // namespace

MemoCountOutcome countSubtree(const SearchProblem& problem, const SearchPrefix& prefix,
                              const MemoCountLimits& limits, CountCache& cache,
                              const SubtreePlace* from) {
  MemoWalk w(problem, limits, cache);
  std::vector<std::uint64_t> prefixOrders(at(w.orderWords), 0);
  if (!appendPrefix(w.node, prefix, prefixOrders)) return std::move(w.outcome);
  w.rootDepth = w.node.depth;
  if (w.node.depth == w.node.length) {
    addSmallCount(w.outcome.count.limbs, 1);
  } else if (boundAtDepth(w.bounds, w.node)) {
    if (from && !from->at.empty()) {
      w.before = &from->before;
      addCount(w.outcome.count.limbs, from->before.limbs);
      countFromPlace(w, from->at, 0);
    } else {
      countBelow(w);
    }
    addCount(w.outcome.count.limbs, w.count(w.node.depth));
  }
  noteSeenOrders(w, prefixOrders);
  reportNodes(w);
  return std::move(w.outcome);
}

bool placeWithin(const SearchProblem& problem, int bound, const SearchPrefix& prefix,
                 const std::vector<int>& place) {
  MemoCountLimits limits;
  limits.bound = bound;
  CountCache none(0, 1);
  MemoWalk w(problem, limits, none);
  if (place.empty() || !appendPrefix(w.node, prefix) || w.node.depth == w.node.length ||
      static_cast<int>(place.size()) > w.node.length - w.node.depth ||
      !boundAtDepth(w.bounds, w.node)) {
    return false;
  }
  for (std::size_t step = 0; step + 1 < place.size(); ++step) {
    if (!enterChild(w, place[step])) return false;
  }
  const int last = place.back();
  return last >= 0 && last < w.node.jobs && childTaken(w, last);
}

}  // namespace jobshop
