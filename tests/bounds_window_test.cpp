// The bounds a walk keeps for its path: a lone job's child bounded from its parent's bounds, and
// bounds dropped from the window and bounded again, each against boundNode from scratch.
#include "exact/bounds_window.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "exact/child_test.h"
#include "exact/node_bounds.h"
#include "exact/search_node.h"
#include "exact/search_problem.h"
#include "test_instances.h"

namespace jobshop {

namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

// What the child test and a node's children read: heads and tails of the operations left, every
// machine's summary and its worst other machine.
void expectSameBounds(const SearchNode& n, const NodeBounds& got, const NodeBounds& fresh,
                      const std::string& where) {
  for (int j = 0; j < n.jobs; ++j) {
    for (int k = n.jobNext[at(j)]; k < n.machines; ++k) {
      const std::size_t op = at(j * n.machines + k);
      EXPECT_EQ(got.head[op], fresh.head[op]) << where << ", job " << j << " operation " << k;
      EXPECT_EQ(got.tail[op], fresh.tail[op]) << where << ", job " << j << " operation " << k;
    }
  }
  EXPECT_EQ(got.load, fresh.load) << where;
  EXPECT_EQ(got.minTail, fresh.minTail) << where;
  EXPECT_EQ(got.leastTime, fresh.leastTime) << where;
  EXPECT_EQ(got.secondTime, fresh.secondTime) << where;
  for (int m = 0; m < n.machines; ++m) {
    EXPECT_EQ(restBesides(got, m), restBesides(fresh, m)) << where << ", machine " << m;
  }
  EXPECT_EQ(got.loneJob, fresh.loneJob) << where;
}

// Two jobs of opposite routes: job 0 on machines 1..M, job 1 on M..1, so that once job 0 is done
// job 1 starts at its end and goes on alone. times holds job 0's times, then job 1's, by machine.
SearchProblem oppositeRoutes(int machines, const std::vector<int>& times) {
  std::vector<int> routing(at(2 * machines));
  std::iota(routing.begin(), routing.begin() + machines, 1);
  for (int k = 0; k < machines; ++k) routing[at(machines + k)] = machines - k;
  return makeSearchProblem(makeInstance(2, machines, times, routing));
}

int totalTime(const std::vector<int>& times) {
  return std::accumulate(times.begin(), times.end(), 0);
}

}  // namespace

TEST(BoundsWindow, ALoneJobsChildHasTheBoundsBoundNodeGivesIt) {
  // Zero times make ties among the machines' rests, which the worst two must still answer.
  const std::vector<int> times = {2, 5, 1, 3, 4, 2, 3, 0, 0, 2, 0, 4};
  const SearchProblem p = oppositeRoutes(6, times);
  SearchNode n = makeSearchNode(p, totalTime(times));
  for (int k = 0; k < p.machines; ++k) appendJob(n, 0);
  NodeBounds parent;
  ASSERT_TRUE(boundNode(n, parent));
  ASSERT_EQ(parent.loneJob, 1);
  while (n.depth + 1 < n.length) {
    const std::string where = "depth " + std::to_string(n.depth + 1);
    ASSERT_TRUE(canAppend(n, 1) && childMayFit(n, parent, 1)) << where;
    appendJob(n, 1);
    NodeBounds carried = parent;
    boundLoneJobChild(n, carried);
    NodeBounds fresh;
    ASSERT_TRUE(boundNode(n, fresh)) << where;
    expectSameBounds(n, carried, fresh, where);
    parent = fresh;
  }
}

TEST(BoundsWindow, BoundsDroppedOnTheWayDownComeBackTheSame) {
  // 2 x 1024: 2,049 depths, more than the window keeps, so climbing back bounds most nodes again;
  // the second half of the way down is job 1 alone, carried from depth to depth.
  const int machines = 1024;
  std::vector<int> times(at(2 * machines));
  for (std::size_t k = 0; k < times.size(); ++k) times[k] = static_cast<int>(k * 7 % 5);
  const SearchProblem p = oppositeRoutes(machines, times);
  const int bound = totalTime(times);
  BoundsWindow window = makeBoundsWindow(p);
  ASSERT_LT(window.slots.size(), at(p.jobs * p.machines));
  SearchNode n = makeSearchNode(p, bound);
  ASSERT_TRUE(boundAtDepth(window, n));
  std::vector<AppendUndo> path;
  while (n.depth + 1 < n.length) {
    int job = 0;
    while (job < n.jobs && !(canAppend(n, job) && childMayFit(n, boundsAtDepth(window, n), job)))
      ++job;
    ASSERT_LT(job, n.jobs) << "depth " << n.depth;
    path.push_back(appendJob(n, job));
    ASSERT_TRUE(boundAtDepth(window, n)) << "depth " << n.depth;
  }
  // As after a find that tightens the bound (here so far that nothing fits): the path's bounds
  // stay those of the bound each node was bounded with.
  n.bound = 0;
  while (!path.empty()) {
    const std::string where = "depth " + std::to_string(n.depth);
    const NodeBounds& kept = boundsAtDepth(window, n);
    EXPECT_EQ(n.bound, 0) << where;
    SearchNode asBounded = n;
    asBounded.bound = bound;
    NodeBounds fresh;
    ASSERT_TRUE(boundNode(asBounded, fresh)) << where;
    expectSameBounds(n, kept, fresh, where);
    undoAppend(n, path.back());
    path.pop_back();
  }
}

}  // namespace jobshop
