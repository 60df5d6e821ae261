// The control without niching: tournaments on makespan, generational replacement keeping the
// best, and what holds whatever the draws.
#include "niching/no_niching.h"

#include <gtest/gtest.h>

#include "niching_test_support.h"
#include "scripted_random.h"

namespace jobshop {

namespace {

using Genes = std::vector<std::vector<float>>;

const Genes kParents = {{1, 2, 3, 4}, {2, 1, 3, 4}, {3, 2, 1, 4}, {4, 2, 3, 1}};
const Genes kChildren = {{1, 2, 4, 3}, {2, 1, 4, 3}, {3, 4, 1, 2}, {4, 3, 2, 1}};

NichingSettings noNiching() {
  NichingSettings settings;
  settings.method = NichingMethod::none;
  return settings;
}

}  // namespace

TEST(NoNiching, HandWorkedGenerationTournamentsOnMakespanAndKeepsTheBest) {
  HandWorked hand(noNiching(), kParents, {10, 11, 11, 13}, kChildren, {14, 12, 14, 13});
  auto& scheme = hand.as<NoNichingScheme>();
  // (3,1): 11 < 13, P1. (1,2): 11 = 11, the first drawn, P1. (2,1): P2. (0,0): P0 meets itself.
  detail::ScriptedRandom draws({3, 1, 1, 2, 2, 1, 0, 0});
  ASSERT_TRUE(scheme.select(hand.state, draws, hand.state.stop));
  EXPECT_EQ(draws.bounds, std::vector<int>(8, 4));
  EXPECT_TRUE(draws.allConsumed() && !draws.misused);
  EXPECT_EQ(hand.matingPoolGenes(), (Genes{kParents[1], kParents[1], kParents[2], kParents[0]}));

  // The best parent (10) beats every child: it stays first; the children in makespan order are
  // C1 12, C3 13, C0 14, C2 14 (equal ones in row order), and the last, C2, is dropped.
  detail::ScriptedRandom none;
  ASSERT_TRUE(scheme.replace(hand.state, none, hand.state.stop));
  EXPECT_TRUE(none.bounds.empty());
  EXPECT_EQ(hand.populationGenes(), (Genes{kParents[0], kChildren[1], kChildren[3], kChildren[0]}));
  EXPECT_EQ(hand.populationMakespans(), (std::vector<float>{10, 12, 13, 14}));
}

TEST(NoNiching, HoldsWhateverTheDraws) {
  expectGenerationsKeepThePopulationWholeForSeveralSeeds(NichingMethod::none);
  expectStopAtEveryLookGivesTheGenerationUp(NichingMethod::none);
}

TEST(NoNiching, ConvergedPopulationRunsToItsBudget) {
  expectConvergedPopulationRunsToItsBudget(NichingMethod::none);
}

TEST(NoNiching, RunRepeatsFromItsSeed) { expectRunRepeatsFromItsSeed(NichingMethod::none); }

}  // namespace jobshop
