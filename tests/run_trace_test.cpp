// The trace a run keeps: the census of a population built by hand, counted by hand, and the
// relations every seeded run's trace keeps with itself and with the run's result.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <tuple>

#include "evolution/population_census.h"
#include "evolution/run_loop.h"
#include "input/instance_reader.h"
#include "test_instances.h"
#include "test_seed.h"

namespace jobshop {

namespace {

Parameters smallParameters(int population, int evaluations) {
  Parameters p;
  p.populationSize = population;
  p.maxEvaluations = evaluations;
  p.runCount = 1;
  p.crossoverPercent = 80;
  p.mutationPercent = 30;
  p.swapMutationEnabled = true;
  p.insertionMutationEnabled = true;
  p.precedenceCrossoverEnabled = true;
  p.cycleCrossoverEnabled = true;
  p.mateCandidates = 3;
  p.crowdingGroups = 2;
  p.crowdingGroupSize = 3;
  return p;
}

// Writes the schedule `cells` (one job number per sequence cell) and the makespan of individual k
// straight into the state the census reads.
void setIndividual(RunState& state, int k, const std::vector<std::uint8_t>& cells, float makespan) {
  std::uint8_t* row = state.populationSequences.row(k);
  std::fill(row, row + state.populationSequences.stride, std::uint8_t{0});
  std::copy(cells.begin(), cells.end(), row);
  state.population.fitness(k) = makespan;
}

}  // namespace

TEST(RunTrace, CensusOfHandBuiltPopulationsCountedByHand) {
  // J = 2, M = 3, target 10: six sequence cells per schedule.
  const Instance instance = exampleInstance();
  const Parameters parameters = smallParameters(6, 100);
  RunState state(instance, parameters, steppingClock(1));
  const std::vector<std::uint8_t> a{1, 2, 1, 2, 2, 1}, b{2, 1, 1, 2, 2, 1}, c{1, 2, 2, 1, 2, 1},
      d{1, 2, 1, 2, 1, 2}, e{2, 1, 2, 1, 1, 2};
  // d differs from a in its last two cells only: whole rows are compared.
  PopulationCensus census;
  startCensus(census, state.populationSequences);

  // a a b c b d, makespans 10 10 9 12 9 10: distinct {a, b, c, d} = 4, at or below 10 {a, b, d}.
  for (const auto& [k, cells, makespan] : {std::tuple{0, a, 10.0f},
                                           {1, a, 10.0f},
                                           {2, b, 9.0f},
                                           {3, c, 12.0f},
                                           {4, b, 9.0f},
                                           {5, d, 10.0f}})
    setIndividual(state, k, cells, makespan);
  state.evaluationCount = 6;
  const GenerationTrace first = takeCensus(census, state, 0);
  EXPECT_EQ(first.generation, 0);
  EXPECT_EQ(first.evaluations, 6);
  EXPECT_EQ(first.best, 9.0f) << "the least makespan wherever it stands";
  EXPECT_EQ(first.distinct, 4);
  EXPECT_EQ(first.held, 3);
  EXPECT_EQ(first.found, 3);

  // e c c c a e, makespans 10 12 12 12 10 10: distinct {e, c, a} = 3, held {e, a} = 2; found so
  // far {a, b, d} + {e} = 4 (a was found already, b and d are gone but stay found).
  for (const auto& [k, cells, makespan] : {std::tuple{0, e, 10.0f},
                                           {1, c, 12.0f},
                                           {2, c, 12.0f},
                                           {3, c, 12.0f},
                                           {4, a, 10.0f},
                                           {5, e, 10.0f}})
    setIndividual(state, k, cells, makespan);
  state.evaluationCount = 12;
  const GenerationTrace second = takeCensus(census, state, 1);
  EXPECT_EQ(second.evaluations, 12);
  EXPECT_EQ(second.best, 10.0f);
  EXPECT_EQ(second.distinct, 3);
  EXPECT_EQ(second.held, 2);
  EXPECT_EQ(second.found, 4);

  // All six at c, above the target: nothing held, nothing new found.
  for (int k = 0; k < 6; ++k) setIndividual(state, k, c, 12.0f);
  const GenerationTrace third = takeCensus(census, state, 2);
  EXPECT_EQ(third.distinct, 1);
  EXPECT_EQ(third.held, 0);
  EXPECT_EQ(third.found, 4);

  // A new run forgets what the last one found.
  startCensus(census, state.populationSequences);
  setIndividual(state, 0, a, 10.0f);
  EXPECT_EQ(takeCensus(census, state, 0).found, 1);
}

TEST(RunTrace, SeededRunsKeepTheirTraceConsistent) {
  const Instance instance =
      readInstance(std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/D_Entrada.txt");
  const unsigned seed = testSeed();
  SCOPED_TRACE(replayNote(seed));
  for (int population : {6, 20}) {
    const Parameters parameters = smallParameters(population, 3000);
    RunState state(instance, parameters, steppingClock(seed));
    RunScratch scratch(parameters);
    ProgressLine quiet = terminalProgressLine(true);
    for (int run = 1; run <= 3; ++run) {
      SCOPED_TRACE("population " + std::to_string(population) + ", run " + std::to_string(run));
      const RunResult result = performRun(state, run, RunWatch{quiet}, scratch);
      const RunTrace& trace = result.trace;
      ASSERT_EQ(trace.size(), static_cast<std::size_t>(result.generations) + 1);
      EXPECT_EQ(trace.front().evaluations, population) << "the initial evaluations";
      EXPECT_EQ(trace.back().evaluations, result.evaluations);
      EXPECT_EQ(trace.back().best, result.analysis.bestMakespan);
      EXPECT_EQ(trace.back().best, result.improvements.back().best);
      for (std::size_t g = 0; g < trace.size(); ++g) {
        SCOPED_TRACE("generation " + std::to_string(g));
        const GenerationTrace& row = trace[g];
        EXPECT_EQ(row.generation, static_cast<int>(g));
        EXPECT_GE(row.distinct, 1);
        EXPECT_LE(row.distinct, population);
        EXPECT_LE(row.held, row.distinct);
        EXPECT_LE(row.held, row.found);
        if (g == 0) continue;
        // Never fewer; as many when no pair of a small population was crossed and no child
        // mutated, so that no offspring needed evaluating.
        EXPECT_GE(row.evaluations, trace[g - 1].evaluations);
        EXPECT_GE(row.found, trace[g - 1].found);
      }
      // ft06's target is its optimum, so the schedules held at the end are the distinct optima.
      if (result.analysis.reachedTarget)
        EXPECT_EQ(trace.back().held, result.analysis.distinctCount());
      else
        EXPECT_EQ(trace.back().held, 0);
    }
  }
}

}  // namespace jobshop
