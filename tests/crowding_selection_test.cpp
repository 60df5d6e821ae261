// Crowding selection with scripted draws: nearest candidates, ties, clones and the converged case.
#include "niching/crowding_selection.h"

#include <gtest/gtest.h>

#include "scripted_random.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// With one machine the distance is the number of differing genes.
const Instance kOneMachine = makeInstance(6, 1, std::vector<int>(6, 1), std::vector<int>(6, 1));

// Position: 0 first parent, 1 at distance 5, 2 at 3, 3 a clone of 0, 4 at 3, 5 at 6.
Population sixIndividuals() {
  return makePopulation({{1, 2, 3, 4, 5, 6},
                         {2, 3, 4, 5, 1, 6},
                         {2, 3, 1, 4, 5, 6},
                         {1, 2, 3, 4, 5, 6},
                         {1, 2, 3, 5, 6, 4},
                         {6, 5, 4, 3, 2, 1}},
                        {10, 11, 12, 13, 14, 15});
}

std::vector<float> mateOf(const RunState& state, int pair) {
  return genesOf(state.matingPool, state.population.size / 2 + pair);
}

}  // namespace

TEST(CrowdingSelection, NearestOfTwoCandidatesFirstAmongEquals) {
  Parameters parameters;
  parameters.populationSize = 6;
  parameters.mateCandidates = 2;
  RunState state(kOneMachine, parameters, steppingClock(0));
  state.population = sixIndividuals();
  decodeSequences(state);
  SelectionScratch scratch;
  detail::ScriptedRandom draws({0, 1, 2,        // distances 5 then 3: the second is the mate
                                0, 0, 3, 2, 4,  // f redrawn, the clone discarded, then 3 and 3
                                0, 1, 5});      // distances 5 then 6
  selectMates(state, draws, state.stop, scratch);
  EXPECT_TRUE(draws.allConsumed());
  EXPECT_FALSE(draws.misused);
  EXPECT_EQ(draws.bounds, std::vector<int>(11, 6));
  EXPECT_EQ(mateOf(state, 0), genesOf(state.population, 2));
  EXPECT_EQ(mateOf(state, 1), genesOf(state.population, 2));
  EXPECT_EQ(mateOf(state, 2), genesOf(state.population, 1));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(genesOf(state.matingPool, i), genesOf(state.population, 0));
  EXPECT_EQ(state.matingPool.fitness(3), 12.0f) << "whole copies carry the makespan";
  EXPECT_EQ(state.matingPool.fitness(5), 11.0f);
}

TEST(CrowdingSelection, SingleCandidateIsTakenWhateverItsDistance) {
  Parameters parameters;
  parameters.populationSize = 6;
  parameters.mateCandidates = 1;
  RunState state(kOneMachine, parameters, steppingClock(0));
  state.population = sixIndividuals();
  decodeSequences(state);
  SelectionScratch scratch;
  detail::ScriptedRandom draws({3, 0, 1,  // first parent is the clone 3: individual 0 is discarded
                                0, 3, 3, 3, 5, 4, 2});
  selectMates(state, draws, state.stop, scratch);
  EXPECT_TRUE(draws.allConsumed());
  EXPECT_EQ(mateOf(state, 0), genesOf(state.population, 1));
  EXPECT_EQ(mateOf(state, 1), genesOf(state.population, 5));
  EXPECT_EQ(mateOf(state, 2), genesOf(state.population, 2));
}

TEST(CrowdingSelection, ConvergedPopulationTakesFirstOtherCandidate) {
  const Instance oneJob = makeInstance(1, 3, {1, 1, 1}, {1, 2, 3});
  Parameters parameters;
  parameters.populationSize = 4;
  parameters.mateCandidates = 3;
  RunState state(oneJob, parameters, steppingClock(0));
  state.population = makePopulation({{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}}, {3, 3, 3, 3});
  decodeSequences(state);
  SelectionScratch scratch;
  // Per pair: the first parent, then candidates until one differs from its position.
  detail::ScriptedRandom draws({1, 1, 1, 0, 2, 3});
  selectMates(state, draws, state.stop, scratch);
  EXPECT_TRUE(draws.allConsumed());
  EXPECT_FALSE(draws.misused);
  EXPECT_EQ(mateOf(state, 0), (std::vector<float>{1, 1, 1}));
}

TEST(CrowdingSelection, TwoIndividualsAlwaysPairWithEachOther) {
  const Instance instance = twoByTwoInstance();
  Parameters parameters;
  parameters.populationSize = 2;
  parameters.mateCandidates = 3;
  RunState state(instance, parameters, steppingClock(0));
  state.population = makePopulation({{1, 1, 2, 2}, {2, 2, 1, 1}}, {11, 11});
  decodeSequences(state);
  SelectionScratch scratch;
  detail::ScriptedRandom draws({1, 1, 0, 0, 0});
  selectMates(state, draws, state.stop, scratch);
  EXPECT_TRUE(draws.allConsumed());
  EXPECT_EQ(genesOf(state.matingPool, 0), (std::vector<float>{2, 2, 1, 1}));
  EXPECT_EQ(genesOf(state.matingPool, 1), (std::vector<float>{1, 1, 2, 2}));
}

}  // namespace jobshop
