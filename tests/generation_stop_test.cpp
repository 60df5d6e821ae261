// A stop asked inside a generation: wherever it is found (selection, offspring generation or
// replacement, at any check), the generation is given up and the population, its machine
// sequences and the evaluation count are exactly as before it; a generation that completes is the
// same as one never asked to stop.
#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <cstdint>

#include "evolution/generation_cycle.h"
#include "input/instance_reader.h"
#include "model/fitness_sort.h"
#include "model/initialisation.h"
#include "model/machine_sequences.h"
#include "model/makespan.h"
#include "test_instances.h"

namespace jobshop {

namespace {

Parameters generationParameters() {
  Parameters p;
  p.populationSize = 20;
  p.maxEvaluations = INT_MAX;
  p.runCount = 1;
  p.crossoverPercent = 80;
  p.mutationPercent = 30;
  p.swapMutationEnabled = true;
  p.insertionMutationEnabled = true;
  p.precedenceCrossoverEnabled = true;
  p.cycleCrossoverEnabled = true;
  p.mateCandidates = 3;
  p.crowdingGroups = 2;
  p.crowdingGroupSize = 4;
  return p;
}

// ft06, a started run of 20 individuals and `generations` whole generations behind it, all fixed
// by the seeds below.
struct GenerationRun {
  Instance instance =
      readInstance(std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/D_Entrada.txt");
  Parameters parameters;
  RunState state;
  NichingScheme niching = chooseNichingScheme(parameters);
  VariationScratch variation;

  GenerationRun(const Parameters& p, int generations)
      : parameters(p), state(instance, parameters, steppingClock(41)) {
    state.random.seedRandom(7);
    initialisePopulation(state.population, instance, state.random);
    MakespanScratch makespan;
    for (int k = 0; k < state.population.size; ++k)
      state.population.fitness(k) = evaluateMakespan(state.population.genes(k), instance, makespan);
    Population copy;
    orderByFitness(state.population, copy);
    SequenceScratch sequences;
    decodePopulationSequences(state.population, instance, state.populationSequences, sequences);
    state.evaluationCount = state.population.size;
    for (int g = 0; g < generations; ++g) EXPECT_TRUE(advance());
  }
  bool advance() { return advanceGeneration(state, state.random, niching, variation); }
};

// The checks one generation makes when nothing stops it.
std::int64_t checksOfOneGeneration(const Parameters& p, int generationsBefore) {
  GenerationRun run(p, generationsBefore);
  constexpr std::int64_t kPlenty = 1'000'000'000;
  run.state.stop.checksBeforeStop = kPlenty;
  EXPECT_TRUE(run.advance());
  return kPlenty - run.state.stop.checksBeforeStop;
}

}  // namespace

TEST(GenerationStop, AtEveryCheckTheGenerationLeavesNoTrace) {
  const Parameters p = generationParameters();
  constexpr int kBefore = 3;
  const std::int64_t checks = checksOfOneGeneration(p, kBefore);
  const int n = p.populationSize;
  // Selection looks before each first parent and candidate, offspring generation before each pair,
  // replacement before each child: the last n checks are replacement's, the n/2 before them the
  // offspring's.
  ASSERT_GE(checks, n / 2 + n / 2 * p.mateCandidates + n / 2 + n);
  for (std::int64_t k = 0; k < checks; ++k) {
    SCOPED_TRACE("stopped at check " + std::to_string(k) + " of " + std::to_string(checks));
    GenerationRun run(p, kBefore);
    const Population population = run.state.population;
    const SequenceTable sequences = run.state.populationSequences;
    const std::int64_t evaluations = run.state.evaluationCount;
    run.state.stop.checksBeforeStop = k;
    ASSERT_FALSE(run.advance());
    EXPECT_EQ(run.state.population.values, population.values);
    EXPECT_EQ(run.state.populationSequences.bytes, sequences.bytes);
    EXPECT_EQ(run.state.evaluationCount, evaluations);
  }
}

TEST(GenerationStop, AGenerationThatCompletesIsTheOneNeverAskedToStop) {
  const Parameters p = generationParameters();
  const std::int64_t checks = checksOfOneGeneration(p, 2);
  GenerationRun unlimited(p, 2);
  GenerationRun limited(p, 2);
  limited.state.stop.checksBeforeStop = checks;
  ASSERT_TRUE(unlimited.advance());
  ASSERT_TRUE(limited.advance());
  EXPECT_EQ(limited.state.population.values, unlimited.state.population.values);
  EXPECT_EQ(limited.state.populationSequences.bytes, unlimited.state.populationSequences.bytes);
  EXPECT_EQ(limited.state.evaluationCount, unlimited.state.evaluationCount);
  EXPECT_EQ(limited.state.random.state, unlimited.state.random.state);
  // Every check was used up, so the next one would stop; without a limit the next generation goes
  // on alike.
  EXPECT_EQ(limited.state.stop.checksBeforeStop, 0);
  limited.state.stop.checksBeforeStop = -1;
  ASSERT_TRUE(unlimited.advance());
  ASSERT_TRUE(limited.advance());
  EXPECT_EQ(limited.state.population.values, unlimited.state.population.values);
}

TEST(GenerationStop, TheFlagStopsASearchForMatesThatWouldNotEnd) {
  Parameters p = generationParameters();
  p.mateCandidates = INT_MAX;
  GenerationRun run(p, 0);
  const Population population = run.state.population;
  volatile std::sig_atomic_t flag = 0;
  run.state.stop.flag = &flag;
  // 100,000 candidates into the first parent's search, the check answers "stop".
  run.state.stop.checksBeforeStop = 100'000;
  ASSERT_FALSE(run.advance());
  run.state.stop.checksBeforeStop = -1;
  flag = SIGTERM;
  ASSERT_FALSE(run.advance()) << "the raised flag alone stops it too";
  EXPECT_EQ(run.state.population.values, population.values);
  EXPECT_EQ(run.state.evaluationCount, p.populationSize);
}

}  // namespace jobshop
