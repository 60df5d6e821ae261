// Deterministic crowding: the shuffle into pairs, the pairing of children with the nearer
// parents, replacement only by a strictly better child, and what holds whatever the draws.
#include "niching/deterministic_crowding.h"

#include <gtest/gtest.h>

#include "niching_test_support.h"
#include "scripted_random.h"

namespace jobshop {

namespace {

using Genes = std::vector<std::vector<float>>;

// On one machine a chromosome is its own machine sequence, so a distance is the number of places
// where two chromosomes differ. P0..P3 are 2 apart from P0 and 3 apart from one another.
const Genes kParents = {{1, 2, 3, 4}, {2, 1, 3, 4}, {3, 2, 1, 4}, {4, 2, 3, 1}};

NichingSettings deterministicCrowding() {
  NichingSettings settings;
  settings.method = NichingMethod::deterministicCrowding;
  return settings;
}

}  // namespace

TEST(DeterministicCrowding, HandWorkedGenerationPairsShufflesAndReplacesOnlyByStrictlyBetter) {
  // Pair 0's children: {4,2,1,3} is 2 from P3 and 4 from P1, {2,1,4,3} 2 from P1 and 4 from P3.
  // Pair 1's children are both X = {1,3,2,4}, 3 from P2 and 2 from P0, so both pairings sum to 5.
  const std::vector<float> x = {1, 3, 2, 4};
  HandWorked hand(deterministicCrowding(), kParents, {10, 11, 12, 13},
                  {{4, 2, 1, 3}, {2, 1, 4, 3}, x, x}, {12, 11, 11, 9});
  auto& scheme = hand.as<DeterministicCrowdingScheme>();

  // Fisher-Yates on [0,1,2,3]: i=3 draws 0 -> [3,1,2,0]; i=2 draws 2 -> unchanged; i=1 draws 0 ->
  // [1,3,2,0]. Pair 0 = (P1, P3) in pool rows 0 and 2, pair 1 = (P2, P0) in rows 1 and 3.
  detail::ScriptedRandom draws({0, 2, 0});
  ASSERT_TRUE(scheme.select(hand.state, draws, hand.state.stop));
  EXPECT_EQ(draws.bounds, (std::vector<int>{4, 3, 2}));
  EXPECT_TRUE(draws.allConsumed() && !draws.misused);
  EXPECT_EQ(hand.matingPoolGenes(), (Genes{kParents[1], kParents[2], kParents[3], kParents[0]}));

  detail::ScriptedRandom none;
  ASSERT_TRUE(scheme.replace(hand.state, none, hand.state.stop));
  EXPECT_TRUE(none.bounds.empty()) << "replacement draws nothing";
  // Pair 0: straight 4+4 = 8 > crossed 2+2 = 4, so {4,2,1,3} (12) meets P3 (13) and replaces it;
  // {2,1,4,3} (11) meets P1 (11) and, not strictly better, leaves it.
  // Pair 1: a tie (5 = 5) keeps c1 with p1: X (11) beats P2 (12) and X (9) beats P0 (10). Crossed,
  // X (9) would have replaced P2 and P0 would have stayed.
  // Working copy [X 9, P1 11, X 11, {4,2,1,3} 12], sorted stably: P1 before X at 11.
  EXPECT_EQ(hand.populationGenes(), (Genes{x, kParents[1], x, {4, 2, 1, 3}}));
  EXPECT_EQ(hand.populationMakespans(), (std::vector<float>{9, 11, 11, 12}));
}

TEST(DeterministicCrowding, HoldsWhateverTheDraws) {
  expectGenerationsKeepThePopulationWholeForSeveralSeeds(NichingMethod::deterministicCrowding);
  expectStopAtEveryLookGivesTheGenerationUp(NichingMethod::deterministicCrowding);
}

TEST(DeterministicCrowding, ConvergedPopulationRunsToItsBudget) {
  expectConvergedPopulationRunsToItsBudget(NichingMethod::deterministicCrowding);
}

TEST(DeterministicCrowding, RunRepeatsFromItsSeed) {
  expectRunRepeatsFromItsSeed(NichingMethod::deterministicCrowding);
}

}  // namespace jobshop
