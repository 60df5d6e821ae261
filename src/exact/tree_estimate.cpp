// Random probes down the tree of the exact search, each guessing the number of schedules from the
// numbers of children met on its way.
#include "exact/tree_estimate.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <random>
#include <utility>
#include <vector>

#include "exact/child_test.h"
#include "exact/node_bounds.h"
#include "exact/search_node.h"
#include "exact/uniform_index.h"

namespace jobshop {

namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

// One probe's working memory, kept across probes so that a probe allocates nothing.
struct Prober {
  SearchNode root;
  SearchNode node;  // the probe's, copied from root at its start
  NodeBounds rootBounds;
  NodeBounds parentBounds;
  // childBounds[k] holds the bounds of the node's k-th accepted child.
  std::vector<NodeBounds> childBounds;
  std::vector<int> children;

  Prober(const SearchProblem& p, int bound)
      : root(makeSearchNode(p, bound)), childBounds(at(p.jobs)), children(at(p.jobs)) {}
};

// Lists into p.children the jobs whose append the exact search would go down from n, whose bounds
// are in p.parentBounds; returns how many. A child that is not yet a schedule leaves its bounds in
// p.childBounds at its place in the list.
int acceptedChildren(Prober& p, SearchNode& n) {
  int count = 0;
  for (int job = 0; job < n.jobs; ++job) {
    if (!canAppend(n, job) || !childMayFit(n, p.parentBounds, job)) continue;
    const AppendUndo undo = appendJob(n, job);
    const bool accepted = n.depth == n.length || boundNode(n, p.childBounds[at(count)]);
    undoAppend(n, undo);
    if (accepted) p.children[at(count++)] = job;
  }
  return count;
}

// Goes down from the root, already bounded into p.rootBounds, to a schedule or a dead end. The
// guess is the product of the numbers of children chosen among, or 0 at a dead end: each
// schedule is reached with probability 1 / that product, so the guess is unbiased.
long double probe(Prober& p, std::mt19937_64& random) {
  SearchNode& n = p.node;
  n = p.root;
  p.parentBounds = p.rootBounds;
  long double weight = 1;
  while (n.depth < n.length) {
    const int count = acceptedChildren(p, n);
    if (count == 0) return 0;
    const int pick = static_cast<int>(uniformIndexBelow(random, static_cast<std::uint64_t>(count)));
    weight *= count;
    appendJob(n, p.children[at(pick)]);
    std::swap(p.parentBounds, p.childBounds[at(pick)]);
  }
  return weight;
}

// Mean and spread of the guesses accumulated one at a time (Welford): the guesses may be far
// larger than their differences, where summing squares would lose every digit.
struct RunningMean {
  std::int64_t n = 0;
  long double mean = 0;
  long double squares = 0;  // sum of squared deviations from the mean

  void add(long double x) {
    ++n;
    const long double delta = x - mean;
    mean += delta / static_cast<long double>(n);
    squares += delta * (x - mean);
  }

  double standardError() const {
    if (n < 2) return 0;
    const long double variance = squares / static_cast<long double>(n - 1);
    return static_cast<double>(std::sqrt(variance / static_cast<long double>(n)));
  }
};

}  // namespace

TreeEstimate estimateTree(const SearchProblem& problem, const TreeEstimateRequest& request) {
  TreeEstimate result;
  Prober p(problem, request.bound);
  // A root that is itself a schedule (no operations) is accepted as the exact search accepts it.
  if (p.root.depth < p.root.length && !boundNode(p.root, p.rootBounds)) {
    // Every probe would guess 0 at once.
    result.probes = std::max<std::int64_t>(request.probes, 0);
    return result;
  }
  std::mt19937_64 random(request.seed);
  RunningMean guesses;
  std::int64_t reached = 0;
  for (std::int64_t k = 0; k < request.probes && !request.stop.reached(); ++k) {
    const long double guess = probe(p, random);
    if (guess > 0) ++reached;
    guesses.add(guess);
  }
  result.estimate = static_cast<double>(guesses.mean);
  result.standardError = guesses.standardError();
  result.probes = guesses.n;
  result.reached = reached;
  return result;
}

}  // namespace jobshop
