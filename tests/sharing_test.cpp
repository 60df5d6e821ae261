// Fitness sharing: the sharing function, the niche counts, the tournament on shared fitness, the
// generational replacement that keeps the best, and what holds whatever the draws.
#include "niching/sharing.h"

#include <gtest/gtest.h>

#include "niching_test_support.h"
#include "scripted_random.h"

namespace jobshop {

namespace {

using Genes = std::vector<std::vector<float>>;

// P0 is 2 from each of P1, P2, P3, which are 3 from one another.
const Genes kParents = {{1, 2, 3, 4}, {2, 1, 3, 4}, {3, 2, 1, 4}, {4, 2, 3, 1}};

NichingSettings sharing(int radius, double alpha) {
  NichingSettings settings;
  settings.method = NichingMethod::sharing;
  settings.sharingRadius = radius;
  settings.sharingAlpha = alpha;
  return settings;
}

}  // namespace

TEST(Sharing, SharingFunctionEndsAtTheRadius) {
  EXPECT_DOUBLE_EQ(sharingFunction(0, 3, 1.0), 1.0);        // 1 - 0, by hand
  EXPECT_DOUBLE_EQ(sharingFunction(2, 3, 1.0), 1.0 / 3.0);  // 1 - 2/3, by hand
  EXPECT_DOUBLE_EQ(sharingFunction(2, 3, 2.0), 5.0 / 9.0);  // 1 - 4/9, by hand
  EXPECT_DOUBLE_EQ(sharingFunction(3, 3, 1.0), 0.0) << "d = sigma is outside";
  EXPECT_DOUBLE_EQ(sharingFunction(0, 0, 1.0), 0.0) << "a radius of 0 shares with nobody";
}

TEST(Sharing, HandWorkedSelectionPrefersTheLessCrowded) {
  HandWorked hand(sharing(3, 1.0), kParents, {10, 11, 12, 13});
  auto& scheme = hand.as<SharingScheme>();
  // Sigma 3, alpha 1: sh(2) = 1/3, sh(3) = 0. Niche counts: P0 1 + 3/3 = 2, the others
  // 1 + 1/3 = 4/3. Raw fitness 13 - makespan + 1: 4, 3, 2, 1. Shared: 4/2 = 2, 3/(4/3) = 9/4,
  // 2/(4/3) = 3/2, 1/(4/3) = 3/4.
  // Draws (0,1): P1 (9/4 > 2) beats the shorter P0. (2,0): P0. (3,3): P3 meets itself.
  // (3,2): P2.
  detail::ScriptedRandom draws({0, 1, 2, 0, 3, 3, 3, 2});
  ASSERT_TRUE(scheme.select(hand.state, draws, hand.state.stop));
  EXPECT_EQ(draws.bounds, std::vector<int>(8, 4));
  EXPECT_TRUE(draws.allConsumed() && !draws.misused);
  const std::vector<double>& shared = scheme.shared.values;
  ASSERT_EQ(shared.size(), 4u);
  EXPECT_DOUBLE_EQ(shared[0], 2.0);
  EXPECT_DOUBLE_EQ(shared[1], 9.0 / 4.0);
  EXPECT_DOUBLE_EQ(shared[2], 3.0 / 2.0);
  EXPECT_DOUBLE_EQ(shared[3], 3.0 / 4.0);
  EXPECT_EQ(hand.matingPoolGenes(), (Genes{kParents[1], kParents[0], kParents[3], kParents[2]}));

  // Alpha 2: sh(2) = 5/9, so P0's count is 1 + 15/9 = 8/3 and its share 4/(8/3) = 3/2, by hand.
  HandWorked squared(sharing(3, 2.0), kParents, {10, 11, 12, 13});
  detail::ScriptedRandom more({0, 1, 2, 0, 3, 3, 3, 2});
  ASSERT_TRUE(squared.as<SharingScheme>().select(squared.state, more, squared.state.stop));
  EXPECT_DOUBLE_EQ(squared.as<SharingScheme>().shared.values[0], 1.5);

  // Makespans 10, 12, 12, 13 (alpha 1): P1 and P2 both share 2/(4/3) = 3/2, so the first drawn
  // wins: (2,1) gives P2 and (1,2) gives P1.
  HandWorked tied(sharing(3, 1.0), kParents, {10, 12, 12, 13});
  detail::ScriptedRandom ties({2, 1, 1, 2, 0, 0, 0, 0});
  ASSERT_TRUE(tied.as<SharingScheme>().select(tied.state, ties, tied.state.stop));
  EXPECT_EQ(tied.matingPoolGenes(), (Genes{kParents[2], kParents[1], kParents[0], kParents[0]}));
}

TEST(Sharing, GenerationalReplacementKeepsTheBestOnlyWhenItBeatsEveryChild) {
  const Genes children = {{1, 2, 4, 3}, {2, 1, 4, 3}, {3, 4, 1, 2}, {4, 3, 2, 1}};
  // Best parent 10 beats every child (12..15): it stays first and the worst child (15) goes.
  HandWorked beaten(sharing(3, 1.0), kParents, {10, 11, 12, 13}, children, {14, 12, 15, 13});
  detail::ScriptedRandom none;
  ASSERT_TRUE(beaten.as<SharingScheme>().replace(beaten.state, none, beaten.state.stop));
  EXPECT_EQ(beaten.populationGenes(), (Genes{kParents[0], children[1], children[3], children[0]}));
  EXPECT_EQ(beaten.populationMakespans(), (std::vector<float>{10, 12, 13, 14}));

  // A child equal to the best (10): the children alone, in makespan order.
  HandWorked equalled(sharing(3, 1.0), kParents, {10, 11, 12, 13}, children, {12, 10, 11, 13});
  ASSERT_TRUE(equalled.as<SharingScheme>().replace(equalled.state, none, equalled.state.stop));
  EXPECT_EQ(equalled.populationGenes(),
            (Genes{children[1], children[2], children[0], children[3]}));
  EXPECT_TRUE(none.bounds.empty());
}

TEST(Sharing, HoldsWhateverTheDraws) {
  expectGenerationsKeepThePopulationWholeForSeveralSeeds(NichingMethod::sharing);
  expectStopAtEveryLookGivesTheGenerationUp(NichingMethod::sharing);
}

TEST(Sharing, ConvergedPopulationRunsToItsBudget) {
  expectConvergedPopulationRunsToItsBudget(NichingMethod::sharing);
}

TEST(Sharing, RunRepeatsFromItsSeed) { expectRunRepeatsFromItsSeed(NichingMethod::sharing); }

}  // namespace jobshop
