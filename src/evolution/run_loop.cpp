// A run: initial population, generation cycle, stop checks and end-of-run analysis.
#include "evolution/run_loop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "evolution/generation_cycle.h"
#include "evolution/optima_analysis.h"
#include "evolution/population_census.h"
#include "evolution/target_reach.h"
#include "model/fitness_sort.h"
#include "model/initialisation.h"
#include "model/sequence_table.h"

namespace jobshop {

namespace {

void initialiseRun(RunState& state, RunScratch& scratch) {
  state.population.clear();
  initialisePopulation(state.population, state.instance, state.random);
  for (int i = 1; i <= state.population.size; ++i)
    state.population.fitness(i - 1) =
        evaluateMakespan(state.population, state.instance, i, scratch.makespan);
  orderByFitness(state.population, scratch.orderingCopy);
  decodePopulationSequences(state.population, state.instance, state.populationSequences,
                            scratch.sequences);
}

// Run k of R, evaluations spent of the budget, best makespan and elapsed time; made only when the
// line is due, as this is called once per generation.
void showRunProgress(ProgressLine& line, int run, int runs, std::int64_t evaluations, int budget,
                     float best) {
  if (!progressLineDue(line)) return;
  char text[160];
  std::snprintf(text, sizeof text, "ejecución %d de %d | evaluaciones %lld de %d | mejor %.1f | ",
                run, runs, static_cast<long long>(evaluations), budget, static_cast<double>(best));
  drawProgressLine(line, text + elapsedText(line));
}

// What a run has seen so far besides its result: the best makespan and the generation reached.
struct RunProgress {
  float best = 0;
  int generation = 0;
};

// A new best makespan (or the first, at generation 0), and the first generation at the target.
void recordImprovement(float best, const RunState& state, RunProgress& progress,
                       RunResult& result) {
  progress.best = best;
  result.improvements.push_back({best, progress.generation});
  if (!result.targetGeneration && reachesTarget(best, state.instance)) {
    result.targetGeneration = progress.generation;
    result.targetEvaluations = state.evaluationCount;
  }
}

// Generations until the budget is spent or a stop comes.
void runGenerations(RunState& state, RunWatch watch, RunScratch& scratch, int runNumber,
                    RunProgress& progress, RunResult& result) {
  while (state.evaluationCount < state.parameters.maxEvaluations && !state.stop.stopRequested()) {
    ++progress.generation;
    // No clearing of matingPool and offspring: with an even population (the reader refuses an odd
    // one) selection and offspring generation overwrite every value of both, so zeros put there
    // first could never be seen.
    if (!advanceGeneration(state, state.random, state.stop, scratch.niching, scratch.variation)) {
      // Given up on a stop: the run closes with the population and count from before it.
      --progress.generation;
      result.abandonedGeneration = true;
      result.cut = true;
      return;
    }
    const float best = state.population.fitness(0);
    showRunProgress(watch.progress, runNumber, std::max(1, state.parameters.runCount),
                    state.evaluationCount, state.parameters.maxEvaluations,
                    std::min(best, progress.best));
    if (best < progress.best) recordImprovement(best, state, progress, result);
    result.trace.push_back(takeCensus(scratch.census, state, progress.generation));
  }
}

void closeRun(const RunState& state, const RunProgress& progress, RunResult& result) {
  result.generations = progress.generation;
  result.evaluations = state.evaluationCount;
  result.cut = result.cut || (state.stop.stopRequested() &&
                              state.evaluationCount < state.parameters.maxEvaluations);
}

}  // namespace

RunResult performRun(RunState& state, int runNumber, RunWatch watch, RunScratch& scratch) {
  const auto startTime = std::chrono::steady_clock::now();
  RunResult result;
  result.run = runNumber;
  initialiseRun(state, scratch);
  state.evaluationCount = state.population.size;
  RunProgress progress;
  recordImprovement(state.population.fitness(0), state, progress, result);
  startCensus(scratch.census, state.populationSequences);
  result.trace.push_back(takeCensus(scratch.census, state, 0));
  runGenerations(state, watch, scratch, runNumber, progress, result);
  closeRun(state, progress, result);
  clearProgressLine(watch.progress);
  result.analysis = analyseFinalPopulation(state.population, state.instance, scratch.sequences);
  result.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - startTime).count();
  return result;
}

}  // namespace jobshop
