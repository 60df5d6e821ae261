// Checks shared by the niching schemes' tests.
#include "niching_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "evolution/generation_cycle.h"
#include "model/fitness_sort.h"
#include "model/initialisation.h"
#include "model/makespan.h"
#include "scripted_stop.h"
#include "test_instances.h"
#include "test_seed.h"

namespace jobshop {

namespace {

void startPopulation(RunState& state) {
  initialisePopulation(state.population, state.instance, state.random);
  MakespanScratch makespan;
  for (int k = 0; k < state.population.size; ++k)
    state.population.fitness(k) =
        evaluateMakespan(state.population.genes(k), state.instance, makespan);
  Population copy;
  orderByFitness(state.population, copy);
  decodeSequences(state);
}

void expectWholeAndOrdered(const RunState& state, int n) {
  ASSERT_EQ(state.population.size, n);
  ASSERT_EQ(state.population.values.size(),
            static_cast<std::size_t>(n) * state.population.stride());
  SequenceTable fresh;
  SequenceScratch sequences;
  decodePopulationSequences(state.population, state.instance, fresh, sequences);
  ASSERT_EQ(fresh.bytes.size(), state.populationSequences.bytes.size());
  MakespanScratch makespan;
  for (int k = 0; k < n; ++k) {
    EXPECT_EQ(std::memcmp(fresh.row(k), state.populationSequences.row(k),
                          static_cast<std::size_t>(fresh.stride)),
              0)
        << "sequence row " << k << " is not that of individual " << k;
    EXPECT_EQ(state.population.fitness(k),
              evaluateMakespan(state.population.genes(k), state.instance, makespan))
        << "individual " << k;
    if (k > 0) {
      EXPECT_LE(state.population.fitness(k - 1), state.population.fitness(k))
          << "not in makespan order at " << k;
    }
  }
}

}  // namespace

Parameters schemeParameters(NichingMethod method, int populationSize, int budget) {
  Parameters p;
  p.populationSize = populationSize;
  p.maxEvaluations = budget;
  p.runCount = 1;
  p.crossoverPercent = 80;
  p.mutationPercent = 20;
  p.scrambleMutationEnabled = p.insertionMutationEnabled = p.swapMutationEnabled =
      p.neighbourSwapMutationEnabled = true;
  p.segmentWrapCrossoverEnabled = p.cycleCrossoverEnabled = p.segmentFillCrossoverEnabled =
      p.maskKeepCrossoverEnabled = p.maskReorderCrossoverEnabled = p.segmentInsertCrossoverEnabled =
          p.precedenceCrossoverEnabled = true;
  p.mateCandidates = 3;
  p.crowdingGroups = 2;
  p.crowdingGroupSize = 3;
  p.niching.method = method;
  return p;
}

Instance fourByThreeInstance() {
  return makeInstance(4, 3, {3, 2, 2, 2, 4, 1, 1, 3, 3, 2, 2, 2},
                      {1, 2, 3, 2, 1, 3, 3, 2, 1, 1, 3, 2}, 9);
}

Instance oneMachineInstance() {
  return makeInstance(4, 1, std::vector<int>(4, 1), std::vector<int>(4, 1));
}

HandWorked::HandWorked(const NichingSettings& settings,
                       const std::vector<std::vector<float>>& parents,
                       const std::vector<float>& parentMakespans,
                       const std::vector<std::vector<float>>& children,
                       const std::vector<float>& childMakespans)
    : parameters([&] {
        Parameters p = schemeParameters(settings.method, 4, 0);
        p.niching = settings;
        return p;
      }()),
      state(instance, parameters, steppingClock(0)),
      scheme(chooseNichingScheme(parameters)) {
  state.population = makePopulation(parents, parentMakespans);
  if (!children.empty()) state.offspring = makePopulation(children, childMakespans);
  decodeSequences(state);
}

std::vector<std::vector<float>> HandWorked::populationGenes() const {
  std::vector<std::vector<float>> genes;
  for (int k = 0; k < state.population.size; ++k) genes.push_back(genesOf(state.population, k));
  return genes;
}

std::vector<float> HandWorked::populationMakespans() const {
  std::vector<float> makespans;
  for (int k = 0; k < state.population.size; ++k) makespans.push_back(state.population.fitness(k));
  return makespans;
}

std::vector<std::vector<float>> HandWorked::matingPoolGenes() const {
  std::vector<std::vector<float>> genes;
  for (int k = 0; k < state.matingPool.size; ++k) genes.push_back(genesOf(state.matingPool, k));
  return genes;
}

SeededRun::SeededRun(const Instance& inst, const Parameters& params, unsigned seed)
    : instance(inst), parameters(params), state(inst, params, hashedClock(seed)), scratch(params) {
  state.random.seedRandom(seed);
}

RunResult SeededRun::perform() { return performRun(state, 1, RunWatch{progress}, scratch); }

void expectGenerationsKeepThePopulationWhole(NichingMethod method, unsigned seed, bool wide) {
  const Instance instance = fourByThreeInstance();
  Parameters parameters = schemeParameters(method, 12, 0);
  if (wide) {
    parameters.niching.windowSize = 5;
    parameters.niching.clearingRadius = 5;
    parameters.niching.clearingCapacity = 2;
    parameters.niching.sharingRadius = 5;
    parameters.niching.sharingAlpha = 0.5;
  }
  SeededRun run(instance, parameters, seed);
  RunState& state = run.state;
  startPopulation(state);
  VariationScratch variation;
  float best = state.population.fitness(0);
  for (int generation = 1; generation <= 30; ++generation) {
    SCOPED_TRACE(::testing::Message() << "generation " << generation);
    const std::int64_t before = state.evaluationCount;
    ASSERT_TRUE(advanceGeneration(state, state.random, state.stop, run.scratch.niching, variation));
    EXPECT_GE(state.evaluationCount, before);
    EXPECT_LE(state.evaluationCount, before + parameters.populationSize);
    expectWholeAndOrdered(state, parameters.populationSize);
    EXPECT_LE(state.population.fitness(0), best) << "the best makespan got worse";
    best = state.population.fitness(0);
  }
}

void expectGenerationsKeepThePopulationWholeForSeveralSeeds(NichingMethod method) {
  const unsigned seed = testSeed();
  SCOPED_TRACE(replayNote(seed));
  for (unsigned k = 0; k < 5; ++k) {
    SCOPED_TRACE(::testing::Message() << "run seed " << seed + k);
    expectGenerationsKeepThePopulationWhole(method, seed + k, k % 2 == 1);
  }
}

void expectConvergedPopulationRunsToItsBudget(NichingMethod method) {
  const Instance oneJob = makeInstance(1, 3, {2, 1, 3}, {1, 2, 3}, 6);
  const Parameters parameters = schemeParameters(method, 8, 200);
  SeededRun whole(oneJob, parameters, 7);
  const RunResult result = whole.perform();
  EXPECT_GE(result.evaluations, 200);
  EXPECT_FALSE(result.cut);
  EXPECT_EQ(result.analysis.distinctCount(), 1);

  const Instance instance = fourByThreeInstance();
  SeededRun clones(instance, parameters, 7);
  RunState& state = clones.state;
  startPopulation(state);
  for (int k = 1; k < state.population.size; ++k)
    copyIndividual(state.population, 0, state.population, k);
  decodeSequences(state);
  VariationScratch variation;
  for (int generation = 1; generation <= 20; ++generation) {
    ASSERT_TRUE(
        advanceGeneration(state, state.random, state.stop, clones.scratch.niching, variation));
    expectWholeAndOrdered(state, parameters.populationSize);
  }
}

void expectRunRepeatsFromItsSeed(NichingMethod method) {
  const Instance instance = fourByThreeInstance();
  const Parameters parameters = schemeParameters(method, 10, 600);
  SeededRun first(instance, parameters, 11);
  SeededRun second(instance, parameters, 11);
  const RunResult a = first.perform();
  const RunResult b = second.perform();
  ASSERT_EQ(a.improvements.size(), b.improvements.size());
  for (std::size_t k = 0; k < a.improvements.size(); ++k) {
    EXPECT_EQ(a.improvements[k].best, b.improvements[k].best);
    EXPECT_EQ(a.improvements[k].generation, b.improvements[k].generation);
  }
  EXPECT_EQ(a.generations, b.generations);
  EXPECT_EQ(a.evaluations, b.evaluations);
  ASSERT_EQ(a.trace.size(), b.trace.size());
  for (std::size_t k = 0; k < a.trace.size(); ++k) {
    EXPECT_EQ(a.trace[k].evaluations, b.trace[k].evaluations);
    EXPECT_EQ(a.trace[k].best, b.trace[k].best);
    EXPECT_EQ(a.trace[k].distinct, b.trace[k].distinct);
    EXPECT_EQ(a.trace[k].held, b.trace[k].held);
    EXPECT_EQ(a.trace[k].found, b.trace[k].found);
  }
  EXPECT_EQ(first.state.population.values, second.state.population.values);
  EXPECT_EQ(first.state.populationSequences.bytes, second.state.populationSequences.bytes);
  EXPECT_EQ(a.analysis.distinctCount(), b.analysis.distinctCount());
}

void expectStopAtEveryLookGivesTheGenerationUp(NichingMethod method) {
  const Instance instance = fourByThreeInstance();
  const Parameters parameters = schemeParameters(method, 8, 0);
  const auto started = [&](SeededRun& run) {
    startPopulation(run.state);
    run.state.evaluationCount = parameters.populationSize;
  };
  SeededRun counted(instance, parameters, 5);
  started(counted);
  VariationScratch variation;
  detail::ScriptedStop never;
  ASSERT_TRUE(advanceGeneration(counted.state, counted.state.random, never, counted.scratch.niching,
                                variation));
  ASSERT_GT(never.looks, 2);
  for (std::int64_t look = 0; look < never.looks; ++look) {
    SCOPED_TRACE(::testing::Message() << "stop at look " << look);
    SeededRun run(instance, parameters, 5);
    started(run);
    const Population before = run.state.population;
    const SequenceTable beforeSequences = run.state.populationSequences;
    detail::ScriptedStop stop{.looksBeforeStop = look};
    EXPECT_FALSE(
        advanceGeneration(run.state, run.state.random, stop, run.scratch.niching, variation));
    EXPECT_EQ(run.state.population.values, before.values);
    EXPECT_EQ(run.state.populationSequences.bytes, beforeSequences.bytes);
    EXPECT_EQ(run.state.evaluationCount, parameters.populationSize);
  }
}

}  // namespace jobshop
