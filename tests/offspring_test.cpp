// Tests of offspring generation: the percentage test, the order of draws within a pair, the
// evaluation accounting, both dispatch orders, and children that depend on the seed and the pool
// alone.
#include "variation/offspring.h"

#include <gtest/gtest.h>

#include "model/machine_sequences.h"
#include "model/makespan.h"
#include "scripted_random.h"
#include "variation/cycle_crossover.h"
#include "variation_test_support.h"

namespace jobshop {

namespace {

// Every machine used once per job, in a job-dependent rotation, with varied times.
Instance smallInstance(int jobs, int machines) {
  Instance instance;
  instance.jobs = jobs;
  instance.machines = machines;
  for (int j = 0; j < jobs; ++j) {
    for (int o = 0; o < machines; ++o) {
      instance.times.push_back((j * 3 + o * 2) % 5 + 1);
      instance.routing.push_back((j + o) % machines + 1);
    }
  }
  return instance;
}

Parameters parametersFor(int populationSize, int crossoverPercent, int mutationPercent) {
  Parameters parameters;
  parameters.populationSize = populationSize;
  parameters.crossoverPercent = crossoverPercent;
  parameters.mutationPercent = mutationPercent;
  return parameters;
}

// Pool row k gets genes[k] and the fitness 500 + k, which no real makespan here reaches.
void fillPool(RunState& state, const std::vector<Genes>& genes) {
  for (int k = 0; k < state.matingPool.size; ++k) {
    std::copy(genes[static_cast<std::size_t>(k)].begin(), genes[static_cast<std::size_t>(k)].end(),
              state.matingPool.genes(k));
    state.matingPool.fitness(k) = 500.0f + static_cast<float>(k);
  }
  SequenceScratch sequences;
  decodePopulationSequences(state.matingPool, state.instance, state.matingPoolSequences, sequences);
}

// Whether every child's cached machine sequences are those of its genes.
void expectSequencesOfGenes(const RunState& state) {
  SequenceTable decoded;
  SequenceScratch sequences;
  decodePopulationSequences(state.offspring, state.instance, decoded, sequences);
  for (int child = 0; child < state.offspring.size; ++child)
    EXPECT_EQ(rowDistance(decoded, child, state.offspringSequences, child), 0) << child;
}

float makespanOf(const RunState& state, int child) {
  MakespanScratch scratch;
  return evaluateMakespan(state.offspring.genes(child), state.instance, scratch);
}

std::vector<int> repeat(std::vector<int> bounds, int times) {
  std::vector<int> all;
  for (int t = 0; t < times; ++t) all.insert(all.end(), bounds.begin(), bounds.end());
  return all;
}

}  // namespace

TEST(OffspringGeneration, PercentageTestPassesUpToThePercentage) {
  detail::ScriptedRandom random({0, 1, 100, 100, 0, 50, 51});
  EXPECT_TRUE(passesPercentage(0, random));
  EXPECT_FALSE(passesPercentage(0, random));
  EXPECT_TRUE(passesPercentage(100, random));
  EXPECT_TRUE(passesPercentage(250, random));
  EXPECT_FALSE(passesPercentage(-1, random));
  EXPECT_TRUE(passesPercentage(50, random));
  EXPECT_FALSE(passesPercentage(50, random));
  EXPECT_EQ(random.bounds, std::vector<int>(7, 101));
}

TEST(OffspringGeneration, CrossedPairsDrawInOrderAndAreAlwaysEvaluated) {
  const Instance instance = smallInstance(3, 2);
  Parameters parameters = parametersFor(4, 100, 100);
  parameters.segmentFillCrossoverEnabled = true;
  parameters.swapMutationEnabled = true;
  RunState state(instance, parameters, steppingClock(42));
  fillPool(state, {exampleParent1(), {3, 3, 2, 2, 1, 1}, exampleParent2(), {1, 2, 3, 3, 2, 1}});
  state.evaluationCount = 4;
  // Per pair: crossover test | cut points | test, swap of child 1 | test, swap of child 2.
  detail::ScriptedRandom random({100, 3, 2, 0, 0, 1, 100, 2, 2, 0, 0, 5, 50, 1, 1, 7, 3, 4});
  VariationScratch scratch;
  generateOffspring(state, random, state.stop, scratch);

  EXPECT_TRUE(random.seeds.empty()) << "the generation cycle reseeds, not offspring generation";
  EXPECT_EQ(random.bounds, repeat({101, 6, 6, 101, 6, 6, 101, 6, 6}, 2));
  EXPECT_TRUE(random.allConsumed() && !random.misused);
  EXPECT_EQ(state.evaluationCount, 4 + 2 * 2);
  // Pair 1: the worked segment children, then the swaps.
  EXPECT_EQ(rowGenes(state.offspring, 0), (Genes{1, 2, 3, 1, 2, 3}));
  EXPECT_EQ(rowGenes(state.offspring, 1), (Genes{1, 2, 3, 2, 1, 3}));
  // Pair 2 (pool rows 1 and 3): a whole-chromosome segment copies the parents; then one swap.
  EXPECT_EQ(rowGenes(state.offspring, 2), (Genes{3, 3, 2, 2, 1, 1}));
  EXPECT_EQ(rowGenes(state.offspring, 3), (Genes{1, 2, 3, 2, 3, 1}));
  // Crossed children get a fresh makespan even when the genes equal the parent's.
  for (int child = 0; child < 4; ++child) {
    EXPECT_EQ(state.offspring.fitness(child), makespanOf(state, child)) << child;
  }
}

TEST(OffspringGeneration, CopiedPairsKeepTheirParentsUnlessMutated) {
  const Instance instance = smallInstance(3, 2);
  Parameters parameters = parametersFor(4, -1, -1);
  parameters.cycleCrossoverEnabled = true;
  parameters.swapMutationEnabled = true;
  const std::vector<Genes> pool = {
      exampleParent1(), {3, 3, 2, 2, 1, 1}, exampleParent2(), {1, 2, 3, 3, 2, 1}};
  {
    RunState state(instance, parameters, steppingClock(1));
    fillPool(state, pool);
    state.evaluationCount = 4;
    detail::ScriptedRandom random({0, 0, 0, 0, 0, 0});
    VariationScratch scratch;
    generateOffspring(state, random, state.stop, scratch);
    EXPECT_EQ(random.bounds, std::vector<int>(6, 101));
    EXPECT_EQ(state.evaluationCount, 4);
    const int source[] = {0, 2, 1, 3};
    for (int child = 0; child < 4; ++child) {
      EXPECT_EQ(rowGenes(state.offspring, child), rowGenes(state.matingPool, source[child]));
      EXPECT_EQ(state.offspring.fitness(child), state.matingPool.fitness(source[child]));
    }
  }
  // Percentage 0 passes on a draw of 0 only: pair 1 is copied, only its second child mutated;
  // pair 2 is crossed (cycle from 3) with neither child mutated.
  parameters.crossoverPercent = 0;
  parameters.mutationPercent = 0;
  RunState state(instance, parameters, steppingClock(1));
  fillPool(state, pool);
  state.evaluationCount = 4;
  detail::ScriptedRandom random({1, 1, 0, 0, 2, 0, 3, 1, 1});
  VariationScratch scratch;
  generateOffspring(state, random, state.stop, scratch);
  EXPECT_EQ(random.bounds, (std::vector<int>{101, 101, 101, 6, 6, 101, 6, 101, 101}));
  EXPECT_EQ(state.evaluationCount, 4 + 1 + 2);
  EXPECT_EQ(rowGenes(state.offspring, 0), exampleParent1());
  EXPECT_EQ(state.offspring.fitness(0), 500.0f);
  EXPECT_EQ(rowGenes(state.offspring, 1), (Genes{3, 1, 2, 2, 1, 3}));
  EXPECT_EQ(state.offspring.fitness(1), makespanOf(state, 1));
  EXPECT_NE(state.offspring.fitness(1), 502.0f);
  for (int child = 2; child < 4; ++child) {
    EXPECT_EQ(state.offspring.fitness(child), makespanOf(state, child));
  }
}

TEST(OffspringGeneration, SeveralCrossoversLeaveTheLastOnesChildren) {
  const Instance instance = smallInstance(3, 2);
  Parameters parameters = parametersFor(2, 100, -1);
  parameters.segmentFillCrossoverEnabled = true;
  parameters.cycleCrossoverEnabled = true;
  {
    RunState state(instance, parameters, steppingClock(1));
    fillPool(state, {exampleParent1(), exampleParent2()});
    detail::ScriptedRandom random({0, 3, 2, 3, 0, 0});
    VariationScratch scratch;
    generateOffspring(state, random, state.stop, scratch);
    EXPECT_EQ(random.bounds, (std::vector<int>{101, 6, 6, 6, 101, 101}));
    EXPECT_EQ(rowGenes(state.offspring, 0), (Genes{2, 1, 3, 1, 3, 2}));
    EXPECT_EQ(rowGenes(state.offspring, 1), (Genes{1, 2, 3, 2, 1, 3}));
  }
  // All seven: every one draws in dispatch order, and the mask reorder (last) decides.
  parameters.segmentInsertCrossoverEnabled = true;
  parameters.precedenceCrossoverEnabled = true;
  parameters.maskKeepCrossoverEnabled = true;
  parameters.segmentWrapCrossoverEnabled = true;
  parameters.maskReorderCrossoverEnabled = true;
  RunState state(instance, parameters, steppingClock(1));
  fillPool(state, {exampleParent1(), exampleParent2()});
  const std::vector<int> mask = {1, 1, 0, 0, 1, 0};
  std::vector<int> draws = {0, 3, 2, 3, 2};  // test, fill, insert
  draws.insert(draws.end(), 12, 0);          // precedence and keep masks
  draws.insert(draws.end(), {4, 1, 5});      // cycle, wrap
  draws.insert(draws.end(), mask.begin(), mask.end());
  draws.insert(draws.end(), {0, 0});  // mutation tests
  detail::ScriptedRandom random(draws);
  VariationScratch scratch;
  generateOffspring(state, random, state.stop, scratch);
  std::vector<int> bounds = {101, 6, 6, 6, 6};
  bounds.insert(bounds.end(), 12, 2);
  bounds.insert(bounds.end(), {6, 6, 6});
  bounds.insert(bounds.end(), 6, 2);
  bounds.insert(bounds.end(), {101, 101});
  EXPECT_EQ(random.bounds, bounds);
  EXPECT_TRUE(random.allConsumed());
  EXPECT_EQ(rowGenes(state.offspring, 0), (Genes{2, 1, 3, 1, 3, 2}));
  EXPECT_EQ(rowGenes(state.offspring, 1), (Genes{1, 2, 3, 2, 1, 3}));
}

TEST(OffspringGeneration, MutationDispatchSharesTheBuffer) {
  Parameters parameters;
  parameters.swapMutationEnabled = true;
  parameters.insertionMutationEnabled = true;
  parameters.neighbourSwapMutationEnabled = true;
  VariationScratch scratch;
  for (const bool neighbourSwap : {true, false}) {
    parameters.neighbourSwapMutationEnabled = neighbourSwap;
    Population offspring = sentinelPopulation(2, 4);
    Genes buffer = {1, 2, 3, 4};
    detail::ScriptedRandom random(neighbourSwap ? std::vector<int>{0, 1, 0, 3, 3}
                                                : std::vector<int>{0, 1, 0, 3});
    applyMutations(offspring, parameters, buffer.data(), 1, random, scratch);
    EXPECT_TRUE(random.allConsumed());
    EXPECT_EQ(rowGenes(offspring, 1), (neighbourSwap ? Genes{2, 1, 4, 3} : Genes{1, 3, 4, 2}));
  }

  // Through generateOffspring: insertion and neighbour swap on copied children; only the
  // neighbour swap reaches each child.
  const Instance instance = smallInstance(4, 1);
  Parameters both = parametersFor(2, -1, 100);
  both.insertionMutationEnabled = true;
  both.neighbourSwapMutationEnabled = true;
  RunState state(instance, both, steppingClock(1));
  fillPool(state, {{1, 2, 3, 4}, {4, 3, 2, 1}});
  detail::ScriptedRandom random({0, 0, 0, 3, 0, 100, 1, 2, 3});
  generateOffspring(state, random, state.stop, scratch);
  EXPECT_EQ(random.bounds, (std::vector<int>{101, 101, 4, 4, 4, 101, 4, 4, 4}));
  EXPECT_EQ(rowGenes(state.offspring, 0), (Genes{2, 1, 3, 4}));
  EXPECT_EQ(rowGenes(state.offspring, 1), (Genes{4, 3, 1, 2}));
  EXPECT_EQ(state.evaluationCount, 2);
}

TEST(OffspringGeneration, OneSeedAndOnePoolGiveTheSameChildren) {
  // The real generator, seeded alike before each call, and every operator enabled.
  const Instance instance = smallInstance(3, 2);
  Parameters parameters = parametersFor(6, 60, 60);
  parameters.segmentWrapCrossoverEnabled = parameters.cycleCrossoverEnabled = true;
  parameters.maskKeepCrossoverEnabled = parameters.scrambleMutationEnabled = true;
  parameters.swapMutationEnabled = parameters.insertionMutationEnabled = true;
  parameters.neighbourSwapMutationEnabled = true;
  RunState state(instance, parameters, Clock{[] { return 1234u; }});
  std::mt19937 rng(3u);
  std::vector<Genes> pool;
  for (int k = 0; k < 6; ++k) pool.push_back(randomChromosome(3, 2, rng));
  fillPool(state, pool);
  VariationScratch scratch;
  state.random.seedRandom(1234u);
  generateOffspring(state, state.random, state.stop, scratch);
  const Population first = state.offspring;
  const std::int64_t firstCount = state.evaluationCount;
  state.offspring.clear();
  state.random.seedRandom(1234u);
  generateOffspring(state, state.random, state.stop, scratch);
  EXPECT_EQ(state.offspring.values, first.values);
  EXPECT_EQ(state.evaluationCount, 2 * firstCount);
  for (int child = 0; child < 6; ++child) {
    EXPECT_TRUE(holdsEveryJobExactly(rowGenes(state.offspring, child), 3, 2)) << child;
  }
  // Crossed, mutated and copied children alike carry the machine sequences of their genes.
  expectSequencesOfGenes(state);
}

TEST(OffspringGeneration, EveryChildCarriesTheMachineSequencesOfItsGenes) {
  // Half the pairs copied, half the children mutated, over several generations of one state, so
  // that copied children meet rows left behind by earlier calls.
  const Instance instance = smallInstance(6, 4);
  Parameters parameters = parametersFor(40, 50, 50);
  parameters.maskReorderCrossoverEnabled = parameters.swapMutationEnabled = true;
  RunState state(instance, parameters, steppingClock(7));
  std::mt19937 rng(5u);
  VariationScratch scratch;
  for (int generation = 0; generation < 5; ++generation) {
    std::vector<Genes> pool;
    for (int k = 0; k < 40; ++k) pool.push_back(randomChromosome(6, 4, rng));
    fillPool(state, pool);
    generateOffspring(state, state.random, state.stop, scratch);
    expectSequencesOfGenes(state);
  }
}

TEST(OffspringGeneration, OddPopulationLeavesTheLastSlotAlone) {
  const Instance instance = smallInstance(3, 2);
  Parameters parameters = parametersFor(3, 100, 100);
  parameters.cycleCrossoverEnabled = true;
  parameters.swapMutationEnabled = true;
  RunState state(instance, parameters, steppingClock(1));
  fillPool(state, {exampleParent1(), exampleParent2(), {0, 0, 0, 0, 0, 0}});
  state.offspring.values.assign(state.offspring.values.size(), 77.0f);
  detail::ScriptedRandom random({0, 3, 0, 0, 1, 0, 2, 2});
  VariationScratch scratch;
  generateOffspring(state, random, state.stop, scratch);
  EXPECT_EQ(random.bounds, (std::vector<int>{101, 6, 101, 6, 6, 101, 6, 6}));
  EXPECT_EQ(rowGenes(state.offspring, 0), (Genes{1, 2, 3, 1, 3, 2}));
  EXPECT_EQ(rowGenes(state.offspring, 1), (Genes{1, 2, 3, 2, 1, 3}));
  EXPECT_EQ(rowGenes(state.offspring, 2), Genes(6, 77.0f));
  EXPECT_EQ(state.offspring.fitness(2), 77.0f);
}

}  // namespace jobshop
