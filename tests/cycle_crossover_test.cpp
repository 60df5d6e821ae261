// Tests of the cycle crossover against the worked example and its special cycles.
#include "variation/cycle_crossover.h"

#include <gtest/gtest.h>

#include "variation_test_support.h"

namespace jobshop {

namespace {

const CrossoverOperator kCycle = cycleCrossover<detail::ScriptedRandom>;

void expectChildren(const Genes& parent1, const Genes& parent2, int start, const Genes& child1,
                    const Genes& child2) {
  SCOPED_TRACE("start " + std::to_string(start));
  const CrossoverRun run = runCrossover(kCycle, parent1, parent2, {start});
  EXPECT_EQ(run.child1, child1);
  EXPECT_EQ(run.child2, child2);
  EXPECT_EQ(run.bounds, (std::vector<int>{static_cast<int>(parent1.size())}));
  EXPECT_TRUE(run.scriptFollowed);
}

}  // namespace

TEST(CycleCrossover, WorkedExampleAndSpecialCycles) {
  const Genes p1 = exampleParent1();
  const Genes p2 = exampleParent2();
  // Cycle 3 -> 5 -> 4 -> 3.
  expectChildren(p1, p2, 3, {2, 1, 3, 1, 3, 2}, {1, 2, 3, 2, 1, 3});
  expectChildren(p1, p2, 4, {2, 1, 3, 1, 3, 2}, {1, 2, 3, 2, 1, 3});
  // Position 2 holds (3,1) in both parents: a one-position cycle.
  expectChildren(p1, p2, 2, {2, 1, 3, 2, 1, 3}, {1, 2, 3, 1, 3, 2});
  // Cycle {0, 1} from either end.
  expectChildren(p1, p2, 0, {1, 2, 3, 2, 1, 3}, {2, 1, 3, 1, 3, 2});
  expectChildren(p1, p2, 1, {1, 2, 3, 2, 1, 3}, {2, 1, 3, 1, 3, 2});
  // A cycle through every position hands each parent to its own child.
  expectChildren({1, 2, 3}, {2, 3, 1}, 0, {1, 2, 3}, {2, 3, 1});
  for (int start = 0; start < 6; ++start) expectChildren(p1, p1, start, p1, p1);
  expectChildren({1}, {1}, 0, {1}, {1});
}

TEST(CycleCrossover, RandomParentsGiveValidChildrenAndTouchNothingElse) {
  expectCrossoverKeepsEverythingValid("cycle", kCycle,
                                      [](int geneCount) { return std::vector<int>{geneCount}; });
}

}  // namespace jobshop
