// Tests of the segment crossovers against the worked example and its edge cases.
#include "variation/segment_crossovers.h"

#include <gtest/gtest.h>

#include "variation_test_support.h"

namespace jobshop {

namespace {

struct Expected {
  const char* name;
  CrossoverOperator crossover;
  Genes child1;
  Genes child2;
};

void expectChildren(const Expected& expected, const Genes& parent1, const Genes& parent2,
                    const std::vector<int>& draws) {
  SCOPED_TRACE(std::string(expected.name) + " draws " + std::to_string(draws[0]) + " " +
               std::to_string(draws[1]));
  const CrossoverRun run = runCrossover(expected.crossover, parent1, parent2, draws);
  EXPECT_EQ(run.child1, expected.child1);
  EXPECT_EQ(run.child2, expected.child2);
  const int geneCount = static_cast<int>(parent1.size());
  EXPECT_EQ(run.bounds, (std::vector<int>{geneCount, geneCount}));
  EXPECT_TRUE(run.scriptFollowed);
}

const CrossoverOperator kFill = segmentFillCrossover<detail::ScriptedRandom>;
const CrossoverOperator kInsert = segmentInsertCrossover<detail::ScriptedRandom>;
const CrossoverOperator kWrap = segmentWrapCrossover<detail::ScriptedRandom>;

}  // namespace

TEST(SegmentCrossovers, WorkedExampleWithDraws3Then2) {
  const Genes p1 = exampleParent1();
  const Genes p2 = exampleParent2();
  for (const Expected& e : {Expected{"fill", kFill, {2, 1, 3, 1, 2, 3}, {1, 2, 3, 2, 1, 3}},
                            Expected{"insert", kInsert, {2, 3, 1, 1, 2, 3}, {1, 3, 2, 2, 1, 3}},
                            Expected{"wrap", kWrap, {3, 2, 3, 1, 1, 2}, {3, 1, 3, 2, 2, 1}}}) {
    expectChildren(e, p1, p2, {3, 2});
  }
}

TEST(SegmentCrossovers, CutPointEdgeCases) {
  const Genes p1 = exampleParent1();
  const Genes p2 = exampleParent2();
  for (CrossoverOperator op : {kFill, kInsert, kWrap}) {
    // The whole chromosome as segment, whichever draw comes first.
    expectChildren({"whole", op, p1, p2}, p1, p2, {0, 5});
    expectChildren({"whole", op, p1, p2}, p1, p2, {5, 0});
    // Reversed draws are exchanged into the same cut points.
    expectChildren({"tail", op, {2, 1, 3, 1, 3, 2}, {1, 2, 3, 2, 1, 3}}, p1, p2, {5, 3});
    expectChildren({"tail", op, {2, 1, 3, 1, 3, 2}, {1, 2, 3, 2, 1, 3}}, p1, p2, {3, 5});
  }
  expectChildren({"fill", kFill, {1, 2, 3, 2, 1, 3}, {2, 1, 3, 1, 3, 2}}, p1, p2, {0, 0});
  expectChildren({"insert", kInsert, {1, 2, 3, 2, 1, 3}, {2, 1, 3, 1, 3, 2}}, p1, p2, {0, 0});
  expectChildren({"wrap", kWrap, {1, 3, 2, 1, 3, 2}, {2, 3, 1, 3, 2, 1}}, p1, p2, {0, 0});
  // hi = L-1: the rotated reading starts at filler position 0.
  expectChildren({"fill", kFill, {2, 1, 3, 1, 3, 2}, {1, 2, 3, 1, 2, 3}}, p1, p2, {5, 5});
  expectChildren({"wrap", kWrap, {2, 1, 3, 1, 3, 2}, {1, 2, 3, 1, 2, 3}}, p1, p2, {5, 5});
  expectChildren({"insert", kInsert, {2, 1, 3, 1, 3, 2}, {1, 2, 3, 1, 3, 2}}, p1, p2, {5, 5});
}

TEST(SegmentCrossovers, IdenticalParentsAndSingleGene) {
  const Genes p = exampleParent1();
  for (int a = 0; a < 6; ++a) {
    for (int b = 0; b < 6; ++b) {
      expectChildren({"fill", kFill, p, p}, p, p, {a, b});
      expectChildren({"insert", kInsert, p, p}, p, p, {a, b});
    }
  }
  // The wrap reading renumbers the filler, so the same operation is not the same gene.
  expectChildren({"wrap", kWrap, {2, 3, 3, 1, 2, 1}, {2, 3, 3, 1, 2, 1}}, p, p, {2, 3});
  for (CrossoverOperator op : {kFill, kInsert, kWrap}) {
    expectChildren({"single gene", op, {1}, {1}}, {1}, {1}, {0, 0});
  }
}

TEST(SegmentCrossovers, RandomParentsGiveValidChildrenAndTouchNothingElse) {
  const auto twoCutPoints = [](int geneCount) { return std::vector<int>{geneCount, geneCount}; };
  expectCrossoverKeepsEverythingValid("fill", kFill, twoCutPoints);
  expectCrossoverKeepsEverythingValid("insert", kInsert, twoCutPoints);
  expectCrossoverKeepsEverythingValid("wrap", kWrap, twoCutPoints);
}

}  // namespace jobshop
