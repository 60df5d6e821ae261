// Tests of the mask crossovers against the worked example, uniform masks and identical parents.
#include "variation/mask_crossovers.h"

#include <gtest/gtest.h>

#include "variation_test_support.h"

namespace jobshop {

namespace {

const CrossoverOperator kPrecedence = precedenceCrossover<detail::ScriptedRandom>;
const CrossoverOperator kKeep = maskKeepCrossover<detail::ScriptedRandom>;
const CrossoverOperator kReorder = maskReorderCrossover<detail::ScriptedRandom>;

void expectChildren(const char* name, CrossoverOperator crossover, const Genes& parent1,
                    const Genes& parent2, const std::vector<int>& mask, const Genes& child1,
                    const Genes& child2) {
  SCOPED_TRACE(name);
  const CrossoverRun run = runCrossover(crossover, parent1, parent2, mask);
  EXPECT_EQ(run.child1, child1);
  EXPECT_EQ(run.child2, child2);
  EXPECT_EQ(run.bounds, std::vector<int>(parent1.size(), 2));
  EXPECT_TRUE(run.scriptFollowed);
}

}  // namespace

TEST(MaskCrossovers, WorkedExampleWithMask110010) {
  const Genes p1 = exampleParent1();
  const Genes p2 = exampleParent2();
  const std::vector<int> mask = {1, 1, 0, 0, 1, 0};
  expectChildren("precedence", kPrecedence, p1, p2, mask, {2, 1, 3, 1, 2, 3}, {1, 2, 3, 2, 1, 3});
  expectChildren("keep", kKeep, p1, p2, mask, {1, 2, 3, 2, 3, 1}, {2, 1, 3, 3, 1, 2});
  expectChildren("reorder", kReorder, p1, p2, mask, {2, 1, 3, 1, 3, 2}, {1, 2, 3, 2, 1, 3});
}

TEST(MaskCrossovers, UniformMasksAndIdenticalParents) {
  const Genes p1 = exampleParent1();
  const Genes p2 = exampleParent2();
  const std::vector<int> zeros(6, 0);
  const std::vector<int> ones(6, 1);
  expectChildren("precedence zeros", kPrecedence, p1, p2, zeros, p1, p2);
  expectChildren("reorder zeros", kReorder, p1, p2, zeros, p1, p2);
  expectChildren("keep zeros", kKeep, p1, p2, zeros, p2, p1);
  expectChildren("precedence ones", kPrecedence, p1, p2, ones, p2, p1);
  expectChildren("reorder ones", kReorder, p1, p2, ones, p2, p1);
  expectChildren("keep ones", kKeep, p1, p2, ones, p1, p2);

  std::mt19937 rng(7u);
  for (int trial = 0; trial < 20; ++trial) {
    const Genes p = randomChromosome(4, 3, rng);
    const std::vector<int> mask = drawsWithin(std::vector<int>(12, 2), rng);
    expectChildren("precedence identical", kPrecedence, p, p, mask, p, p);
    expectChildren("keep identical", kKeep, p, p, mask, p, p);
    expectChildren("reorder identical", kReorder, p, p, mask, p, p);
  }
}

TEST(MaskCrossovers, RandomParentsGiveValidChildrenAndTouchNothingElse) {
  const auto oneBitPerGene = [](int geneCount) {
    return std::vector<int>(static_cast<std::size_t>(geneCount), 2);
  };
  expectCrossoverKeepsEverythingValid("precedence", kPrecedence, oneBitPerGene);
  expectCrossoverKeepsEverythingValid("keep", kKeep, oneBitPerGene);
  expectCrossoverKeepsEverythingValid("reorder", kReorder, oneBitPerGene);
}

}  // namespace jobshop
