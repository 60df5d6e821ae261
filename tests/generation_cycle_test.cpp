// The order of a generation's steps as its draws show it: the clock reseeds the random source
// once per generation, after the last of selection's draws and before the first of offspring
// generation's.
#include "evolution/generation_cycle.h"

#include <gtest/gtest.h>

#include "scripted_random.h"
#include "scripted_stop.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// Two individuals two genes apart on one machine, a single mate candidate, one crowding group of
// one, and no crossover or mutation: a generation draws the first parent and its candidate, the
// crossover test of its pair and the mutation tests of its two children, then one position per
// child.
struct TinyRun {
  Instance instance = makeInstance(2, 1, {1, 1}, {1, 1}, 2);
  Parameters parameters;
  RunState state;
  NichingScheme niching;
  VariationScratch variation;

  TinyRun() : parameters(tinyParameters()), state(instance, parameters, steppingClock(42)) {
    state.population = makePopulation({{1, 2}, {2, 1}}, {2, 2});
    decodeSequences(state);
    niching = chooseNichingScheme(parameters);
  }
  static Parameters tinyParameters() {
    Parameters p;
    p.populationSize = 2;
    p.mateCandidates = 1;
    p.crowdingGroups = 1;
    p.crowdingGroupSize = 1;
    p.crossoverPercent = -1;
    p.mutationPercent = -1;
    return p;
  }
};

const std::vector<int> kOneGeneration = {0, 1, 0, 0, 0, 0, 0};

}  // namespace

TEST(GenerationCycle, ReseedsOncePerGenerationBetweenSelectionAndOffspring) {
  TinyRun whole;
  detail::ScriptedRandom random([] {
    std::vector<int> draws = kOneGeneration;
    draws.insert(draws.end(), kOneGeneration.begin(), kOneGeneration.end());
    return draws;
  }());
  ASSERT_TRUE(
      advanceGeneration(whole.state, random, whole.state.stop, whole.niching, whole.variation));
  ASSERT_TRUE(
      advanceGeneration(whole.state, random, whole.state.stop, whole.niching, whole.variation));
  EXPECT_EQ(random.seeds, (std::vector<std::uint32_t>{42, 43})) << "one clock reading each";
  EXPECT_EQ(random.bounds,
            (std::vector<int>{2, 2, 101, 101, 101, 2, 2, 2, 2, 101, 101, 101, 2, 2}));
  EXPECT_TRUE(random.allConsumed() && !random.misused);

  // Checks 0 and 1 are selection's (first parent, candidate), check 2 offspring generation's
  // first pair: stopped at the candidate, nothing was reseeded; stopped at the pair, the reseed
  // came after both of selection's draws.
  TinyRun inSelection;
  detail::ScriptedRandom selectionDraws(kOneGeneration);
  detail::ScriptedStop atCandidate{.looksBeforeStop = 1};
  EXPECT_FALSE(advanceGeneration(inSelection.state, selectionDraws, atCandidate,
                                 inSelection.niching, inSelection.variation));
  EXPECT_TRUE(selectionDraws.seeds.empty());
  EXPECT_EQ(selectionDraws.bounds, (std::vector<int>{2}));

  TinyRun inOffspring;
  detail::ScriptedRandom offspringDraws(kOneGeneration);
  detail::ScriptedStop atFirstPair{.looksBeforeStop = 2};
  EXPECT_FALSE(advanceGeneration(inOffspring.state, offspringDraws, atFirstPair,
                                 inOffspring.niching, inOffspring.variation));
  EXPECT_EQ(offspringDraws.seeds, (std::vector<std::uint32_t>{42}));
  EXPECT_EQ(offspringDraws.bounds, (std::vector<int>{2, 2}));
}

}  // namespace jobshop
