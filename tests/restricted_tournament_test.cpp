// Restricted tournament selection: uniform parents, distinct window draws, the nearest member
// (first drawn among equals) replaced only by a strictly better child, and what holds whatever the
// draws.
#include "niching/restricted_tournament.h"

#include <gtest/gtest.h>

#include "niching_test_support.h"
#include "scripted_random.h"

namespace jobshop {

namespace {

using Genes = std::vector<std::vector<float>>;

const Genes kParents = {{1, 2, 3, 4}, {2, 1, 3, 4}, {3, 2, 1, 4}, {4, 2, 3, 1}};

NichingSettings restrictedTournament(int window) {
  NichingSettings settings;
  settings.method = NichingMethod::restrictedTournament;
  settings.windowSize = window;
  return settings;
}

}  // namespace

TEST(RestrictedTournament, HandWorkedGenerationDrawsWindowsAndReplacesTheNearest) {
  const std::vector<float> c0 = {2, 1, 4, 3};
  const std::vector<float> c1 = {1, 3, 2, 4};
  HandWorked hand(restrictedTournament(2), kParents, {10, 11, 12, 13}, {c0, c1, kParents[0], c0},
                  {10, 12.5f, 10, 9});
  auto& scheme = hand.as<RestrictedTournamentScheme>();

  detail::ScriptedRandom parents({2, 0, 2, 3});
  ASSERT_TRUE(scheme.select(hand.state, parents, hand.state.stop));
  EXPECT_EQ(parents.bounds, std::vector<int>(4, 4));
  EXPECT_EQ(hand.matingPoolGenes(), (Genes{kParents[2], kParents[0], kParents[2], kParents[3]}));

  // Child 0 {2,1,4,3} (10) draws 1, 1 (a repeat, drawn again), 3: P1 is 2 away, P3 4; 10 < 11,
  // so it replaces P1 at position 1.
  // Child 1 {1,3,2,4} (12.5) draws 3, 1: 4 from P3 and 4 from child 0; the first drawn, P3 (13),
  // is the nearest and is replaced. Had child 0 (10) been taken, nothing would change.
  // Child 2, a clone of P0 with P0's makespan (10), draws 0, 2: P0 is at 0 but not strictly worse.
  // Child 3 {2,1,4,3} (9) draws 1, 0: child 0 at position 1 is at 0 and is replaced (9 < 10).
  // Working copy [P0 10, child 3 9, P2 12, child 1 12.5], sorted.
  detail::ScriptedRandom windows({1, 1, 3, 3, 1, 0, 2, 1, 0});
  ASSERT_TRUE(scheme.replace(hand.state, windows, hand.state.stop));
  EXPECT_EQ(windows.bounds, std::vector<int>(9, 4));
  EXPECT_TRUE(windows.allConsumed() && !windows.misused);
  EXPECT_EQ(hand.populationGenes(), (Genes{c0, kParents[0], kParents[2], c1}));
  EXPECT_EQ(hand.populationMakespans(), (std::vector<float>{9, 10, 12, 12.5f}));
}

TEST(RestrictedTournament, WindowIsTheDefaultOfTheSettingsWithinThePopulation) {
  NichingSettings settings;
  EXPECT_EQ(windowMembers(settings, 100), 20) << "min(N, 20)";
  EXPECT_EQ(windowMembers(settings, 6), 6);
  settings.windowSize = 50;
  EXPECT_EQ(windowMembers(settings, 10), 10) << "more than N could never be drawn distinct";
  settings.windowSize = 0;
  EXPECT_EQ(windowMembers(settings, 10), 1);
}

TEST(RestrictedTournament, HoldsWhateverTheDraws) {
  expectGenerationsKeepThePopulationWholeForSeveralSeeds(NichingMethod::restrictedTournament);
  expectStopAtEveryLookGivesTheGenerationUp(NichingMethod::restrictedTournament);
}

TEST(RestrictedTournament, ConvergedPopulationRunsToItsBudget) {
  expectConvergedPopulationRunsToItsBudget(NichingMethod::restrictedTournament);
}

TEST(RestrictedTournament, RunRepeatsFromItsSeed) {
  expectRunRepeatsFromItsSeed(NichingMethod::restrictedTournament);
}

}  // namespace jobshop
