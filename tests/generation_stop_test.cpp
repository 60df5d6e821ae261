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
#include "scripted_stop.h"
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
  bool advance() { return advanceGeneration(state, state.random, state.stop, niching, variation); }
  // A generation asked to stop by the scripted stop instead of the run's own condition.
  bool advance(detail::ScriptedStop& stop) {
    return advanceGeneration(state, state.random, stop, niching, variation);
  }
};

// The looks one generation takes at its stop when nothing stops it.
std::int64_t looksOfOneGeneration(const Parameters& p, int generationsBefore) {
  GenerationRun run(p, generationsBefore);
  detail::ScriptedStop never;
  EXPECT_TRUE(run.advance(never));
  return never.looks;
}

}  // namespace

TEST(GenerationStop, AtEveryCheckTheGenerationLeavesNoTrace) {
  const Parameters p = generationParameters();
  constexpr int kBefore = 3;
  const std::int64_t checks = looksOfOneGeneration(p, kBefore);
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
    detail::ScriptedStop stop{k};
    ASSERT_FALSE(run.advance(stop));
    EXPECT_EQ(stop.looks, k + 1) << "the step that saw the stop went no further";
    EXPECT_EQ(run.state.population.values, population.values);
    EXPECT_EQ(run.state.populationSequences.bytes, sequences.bytes);
    EXPECT_EQ(run.state.evaluationCount, evaluations);
  }
}

TEST(GenerationStop, AGenerationThatCompletesIsTheOneNeverAskedToStop) {
  const Parameters p = generationParameters();
  const std::int64_t checks = looksOfOneGeneration(p, 2);
  GenerationRun unlimited(p, 2);
  GenerationRun limited(p, 2);
  detail::ScriptedStop lastMoment{checks};
  ASSERT_TRUE(unlimited.advance());
  ASSERT_TRUE(limited.advance(lastMoment));
  EXPECT_EQ(limited.state.population.values, unlimited.state.population.values);
  EXPECT_EQ(limited.state.populationSequences.bytes, unlimited.state.populationSequences.bytes);
  EXPECT_EQ(limited.state.evaluationCount, unlimited.state.evaluationCount);
  EXPECT_EQ(limited.state.random.state, unlimited.state.random.state);
  // Every look was used up, so the next one would stop; with the run's own condition the next
  // generation goes on alike.
  EXPECT_EQ(lastMoment.looks, checks);
  ASSERT_TRUE(unlimited.advance());
  ASSERT_TRUE(limited.advance());
  EXPECT_EQ(limited.state.population.values, unlimited.state.population.values);
}

TEST(GenerationStop, TheSignalFlagStopsASearchForMatesThatWouldNotEnd) {
  Parameters p = generationParameters();
  p.mateCandidates = INT_MAX;
  GenerationRun run(p, 0);
  const Population population = run.state.population;
  // 100,000 candidates into the first parent's search, the look answers "stop".
  detail::ScriptedStop stop{100'000};
  ASSERT_FALSE(run.advance(stop));
  EXPECT_EQ(stop.looks, 100'001);
  // The run's own condition, as the handler leaves it after a SIGTERM: the first look stops.
  volatile std::sig_atomic_t flag = 0;
  run.state.stop.signal = &flag;
  flag = SIGTERM;
  ASSERT_FALSE(run.advance()) << "the raised flag alone stops it";
  EXPECT_EQ(run.state.stop.stopSignal(), SIGTERM);
  EXPECT_EQ(run.state.population.values, population.values);
  EXPECT_EQ(run.state.evaluationCount, p.populationSize);
  // Lowered again (a new condition), the generation completes.
  flag = 0;
  p.mateCandidates = 3;
  GenerationRun fresh(p, 0);
  fresh.state.stop.signal = &flag;
  EXPECT_TRUE(fresh.advance());
}

}  // namespace jobshop
