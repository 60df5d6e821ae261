// Clearing in its (mu+lambda) form: niche winners and cleared schedules over population and
// children, the next population by cleared fitness, the tournament on the cleared order, and what
// holds whatever the draws.
#include "niching/clearing.h"

#include <gtest/gtest.h>

#include "niching_test_support.h"
#include "scripted_random.h"

namespace jobshop {

namespace {

using Genes = std::vector<std::vector<float>>;

const Genes kParents = {{1, 2, 3, 4}, {2, 1, 3, 4}, {3, 2, 1, 4}, {4, 2, 3, 1}};

NichingSettings clearing(int radius, int capacity) {
  NichingSettings settings;
  settings.method = NichingMethod::clearing;
  settings.clearingRadius = radius;
  settings.clearingCapacity = capacity;
  return settings;
}

}  // namespace

TEST(Clearing, HandWorkedReplacementKeepsTheWinnersBeforeBetterClearedSchedules) {
  const std::vector<float> c0 = {1, 2, 4, 3};
  const std::vector<float> c1 = {4, 3, 2, 1};
  const std::vector<float> c3 = {2, 4, 3, 1};
  HandWorked hand(clearing(3, 1), kParents, {10, 11, 12, 13}, {c0, c1, kParents[2], c3},
                  {10, 9, 12, 14});
  // In makespan order, ties by age (parents first): C1 9, P0 10, C0 10, P1 11, P2 12, C2 12,
  // P3 13, C3 14. Radius 3 (d < 3), capacity 1:
  // C1 {4,3,2,1} wins; P3 is 2 from it and cleared (C3 is 3 away, everything else 4).
  // P0 wins; C0, P1, P2 and C2 are 2 from it and cleared (C3 is 3 away).
  // C3 is left uncleared and wins a niche of its own.
  // Cleared order: C1, P0, C3, then C0, P1, P2, C2, P3; the first four, in makespan order, are
  // C1 9, P0 10, C0 10, C3 14: the winner C3 stays while the better, cleared P1 goes.
  detail::ScriptedRandom none;
  ASSERT_TRUE(hand.as<ClearingScheme>().replace(hand.state, none, hand.state.stop));
  EXPECT_TRUE(none.bounds.empty());
  EXPECT_EQ(hand.populationGenes(), (Genes{c1, kParents[0], c0, c3}));
  EXPECT_EQ(hand.populationMakespans(), (std::vector<float>{9, 10, 10, 14}));

  // The next selection ranks them as the replacement did: C1 0, P0 1, C0 3 (cleared), C3 2.
  // Draws (2,3): C3 beats the shorter C0. (3,2): C3 drawn first. (1,2): P0. (0,3): C1.
  detail::ScriptedRandom draws({2, 3, 3, 2, 1, 2, 0, 3});
  ASSERT_TRUE(hand.as<ClearingScheme>().select(hand.state, draws, hand.state.stop));
  EXPECT_EQ(hand.matingPoolGenes(), (Genes{c3, c3, kParents[0], c1}));
}

TEST(Clearing, HandWorkedTournamentsFollowTheClearedOrderAndItsCapacity) {
  // Q1 is 2 from Q0; Q2 and Q3 are 4 from Q0 and from each other (and 3 or more from Q1).
  const Genes q = {{1, 2, 3, 4}, {2, 1, 3, 4}, {4, 3, 2, 1}, {3, 4, 1, 2}};
  // Capacity 1: Q1 is cleared by Q0, so the cleared order is Q0, Q2, Q3, Q1 (ranks 0, 3, 1, 2).
  // Draws (1,2): rank 3 against 1, Q2. (3,1): 2 against 3, Q3. (2,2): Q2 meets itself.
  // (1,3): 3 against 2, Q3.
  HandWorked one(clearing(3, 1), q, {10, 11, 12, 13});
  detail::ScriptedRandom draws({1, 2, 3, 1, 2, 2, 1, 3});
  ASSERT_TRUE(one.as<ClearingScheme>().select(one.state, draws, one.state.stop));
  EXPECT_EQ(draws.bounds, std::vector<int>(8, 4));
  EXPECT_EQ(one.matingPoolGenes(), (Genes{q[2], q[3], q[2], q[3]}));

  // Capacity 2: Q1 is Q0's second and keeps its place, so the order is the makespan order and
  // the same draws give Q1, Q1, Q2, Q1.
  HandWorked two(clearing(3, 2), q, {10, 11, 12, 13});
  detail::ScriptedRandom same({1, 2, 3, 1, 2, 2, 1, 3});
  ASSERT_TRUE(two.as<ClearingScheme>().select(two.state, same, two.state.stop));
  EXPECT_EQ(two.matingPoolGenes(), (Genes{q[1], q[1], q[2], q[1]}));
}

TEST(Clearing, HoldsWhateverTheDraws) {
  expectGenerationsKeepThePopulationWholeForSeveralSeeds(NichingMethod::clearing);
  expectStopAtEveryLookGivesTheGenerationUp(NichingMethod::clearing);
}

TEST(Clearing, ConvergedPopulationRunsToItsBudget) {
  expectConvergedPopulationRunsToItsBudget(NichingMethod::clearing);
}

TEST(Clearing, RunRepeatsFromItsSeed) { expectRunRepeatsFromItsSeed(NichingMethod::clearing); }

}  // namespace jobshop
