// Crowding replacement with scripted draws: groups, targets, unconditional replacement, elitism.
#include "niching/crowding_replacement.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "scripted_random.h"
#include "test_instances.h"

namespace jobshop {

namespace {

const Instance kOneMachine = makeInstance(4, 1, std::vector<int>(4, 1), std::vector<int>(4, 1));

const std::vector<std::vector<float>> kParents = {
    {1, 2, 3, 4}, {2, 1, 3, 4}, {3, 2, 1, 4}, {4, 2, 3, 1}};
const std::vector<std::vector<float>> kChildren = {
    {1, 2, 4, 3}, {2, 1, 4, 3}, {3, 4, 1, 2}, {4, 3, 2, 1}};

struct Replacement {
  Parameters parameters;
  RunState state;
  ReplacementScratch scratch;

  Replacement(int groups, int groupSize, const std::vector<float>& parentFitness,
              const std::vector<float>& childFitness)
      : parameters(makeParameters(groups, groupSize)),
        state(kOneMachine, parameters, steppingClock(0)) {
    state.population = makePopulation(kParents, parentFitness);
    state.offspring = makePopulation(kChildren, childFitness);
  }
  static Parameters makeParameters(int groups, int groupSize) {
    Parameters p;
    p.populationSize = 4;
    p.crowdingGroups = groups;
    p.crowdingGroupSize = groupSize;
    return p;
  }
  // Decodes both populations as the tests leave them, as the generation cycle keeps them decoded.
  void run(detail::ScriptedRandom& draws) {
    decodeSequences(state);
    replaceByCrowding(state, draws, state.stop, scratch);
    EXPECT_TRUE(draws.allConsumed());
    EXPECT_FALSE(draws.misused);
    expectSequencesOfTheirGenes();
  }
  // Every row of the sequence table belongs to the individual now in its place: a stale row (the
  // saved best restored without its own) would make later distances compare the wrong schedule.
  void expectSequencesOfTheirGenes() const {
    SequenceTable fresh;
    SequenceScratch sequenceScratch;
    decodePopulationSequences(state.population, state.instance, fresh, sequenceScratch);
    const SequenceTable& kept = state.populationSequences;
    ASSERT_EQ(kept.bytes.size(), fresh.bytes.size());
    for (int k = 0; k < state.population.size; ++k)
      EXPECT_TRUE(std::equal(fresh.row(k), fresh.row(k) + fresh.stride, kept.row(k)))
          << "row " << k << " is not the machine sequences of individual " << k;
  }
  std::vector<float> at(int k) const { return genesOf(state.population, k); }
};

}  // namespace

TEST(CrowdingReplacement, SingleMemberGroupsReplaceTheWorstAndChildrenReplaceChildren) {
  Replacement r(2, 1, {10, 11, 12, 13}, {20, 5, 9, 8});
  // Child 0: 1, a repeated 1 (discarded), 3: the worse child still replaces position 3 (13).
  // Child 1: 3, 0: replaces child 0 at position 3. Child 2: 0, 2. Child 3: 2, 1.
  detail::ScriptedRandom draws({1, 1, 3, 3, 0, 0, 2, 2, 1});
  r.run(draws);
  EXPECT_EQ(draws.bounds, std::vector<int>(9, 4));
  EXPECT_EQ(r.at(0), kChildren[1]);
  EXPECT_EQ(r.at(1), kChildren[3]);
  EXPECT_EQ(r.at(2), kChildren[2]);
  EXPECT_EQ(r.at(3), kParents[0]);
  EXPECT_EQ(r.state.population.fitness(0), 5.0f);
}

TEST(CrowdingReplacement, TargetTiesOnTruncatedMakespanGoToTheLowestGroup) {
  Replacement r(2, 1, {12.9f, 12.5f, 30, 40}, {1, 2, 3, 4});
  detail::ScriptedRandom draws({1, 0, 2, 3, 2, 3, 2, 3});
  r.run(draws);
  // Child 0 meets 12.5 (group 0) and 12.9 (group 1): both are 12, so position 1 is replaced and
  // the 12.9 survives.
  EXPECT_EQ(r.at(0), kChildren[0]);
  EXPECT_EQ(r.at(3), kParents[0]);
  EXPECT_EQ(r.state.population.fitness(3), 12.9f);
}

TEST(CrowdingReplacement, OneGroupTakesTheNearestOfAllMembers) {
  Replacement r(1, 4, {10, 11, 12, 13}, {50, 50, 50, 50});
  r.state.offspring =
      makePopulation({kParents[2], kParents[2], kParents[2], kParents[2]}, {50, 51, 52, 53});
  // Every child meets every position once (repeats discarded); the clone at position 2 is nearest.
  detail::ScriptedRandom draws({3, 0, 0, 2, 1, 0, 1, 2, 3, 2, 1, 0, 3, 1, 2, 3, 0});
  r.run(draws);
  EXPECT_EQ(r.at(0), kParents[0]);
  EXPECT_EQ(r.state.population.fitness(3), 53.0f)
      << "only the last of four children on one target remains";
  EXPECT_EQ(r.at(3), kParents[2]);
}

TEST(CrowdingReplacement, SavedBestComesBackOnlyWhenStrictlyBetter) {
  Replacement worse(1, 1, {10, 11, 12, 13}, {20, 21, 22, 23});
  detail::ScriptedRandom draws({0, 1, 2, 3});
  worse.run(draws);
  EXPECT_EQ(worse.at(0), kParents[0]);
  EXPECT_EQ(worse.state.population.fitness(0), 10.0f);
  EXPECT_EQ(worse.at(1), kChildren[0]);
  EXPECT_EQ(worse.at(3), kChildren[2]) << "the worst of the working copy is dropped";

  Replacement equal(1, 1, {10, 11, 12, 13}, {10, 21, 22, 23});
  detail::ScriptedRandom same({0, 1, 2, 3});
  equal.run(same);
  EXPECT_EQ(equal.at(0), kChildren[0]) << "an equal makespan does not restore the saved best";
  EXPECT_EQ(equal.at(3), kChildren[3]);

  Replacement kept(1, 1, {10, 11, 12, 13}, {20, 21, 22, 23});
  detail::ScriptedRandom others({1, 2, 3, 1});
  kept.run(others);
  EXPECT_EQ(kept.at(0), kParents[0]);
  EXPECT_EQ(kept.at(1), kChildren[1]);
  EXPECT_EQ(kept.state.population.fitness(3), 23.0f);
}

}  // namespace jobshop
