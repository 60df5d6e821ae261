// The run driver: initial population, generation cycle, progress file and end-of-run analysis.
#include "evolution/run_driver.h"

#include <algorithm>
#include <chrono>

#include "evolution/generation.h"
#include "model/fitness_sort.h"
#include "model/initialisation.h"
#include "model/makespan.h"
#include "model/sequence_table.h"
#include "niching/crowding_replacement.h"
#include "niching/crowding_selection.h"
#include "results/run_writing.h"
#include "support/interruption.h"
#include "variation/offspring.h"

namespace jobshop {

namespace {

const char* const kOutputOpenMessage = "No se ha podido abrir el archivo de salida";

// Scratch of the driver and the steps it calls, obtained once per execution.
struct DriverScratch {
  MakespanScratch makespan;
  SequenceScratch sequences;
  Population orderingCopy;
  SelectionScratch selection;
  VariationScratch variation;
  ReplacementScratch replacement;
};

void initialiseRun(RunState& state, DriverScratch& scratch) {
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

void appendProgressLine(std::string& record, float best, int generation) {
  char line[48];
  std::snprintf(line, sizeof line, "%.1f %d\n", static_cast<double>(best), generation);
  record += line;
}

bool reachesTarget(float makespan, const Instance& instance) {
  // Compared as doubles, which hold both the int target and the float makespan exactly.
  return static_cast<double>(makespan) <= static_cast<double>(instance.targetMakespan);
}

// Commits the run's records to the five files, all or none, with the stop signals held back; sets
// outputOk to false when a file failed.
void commitRun(RunState& state, RunOutput& output, const std::string& progressRecord,
               RunSummary& summary, DriverScratch& scratch, bool& outputOk) {
  const DeferredInterruptions whileWriting;
  const WrittenRun written = writeRunRecords(output.folder, progressRecord, state.population,
                                             state.instance, scratch.sequences);
  for (const bool opened : {written.progressOpened, written.analysisOpened}) {
    if (!opened) {
      std::fputs(kOutputOpenMessage, output.out);
      outputOk = false;
    }
  }
  if (!written.commit.failure.empty()) {
    std::fprintf(
        stderr,
        "No se ha podido escribir el archivo de salida %s; la ejecución %d no deja registros\n",
        written.commit.failure.c_str(), summary.run);
    outputOk = false;
  }
  summary.distinctOptima = written.distinctOptima;
  summary.offsets = written.commit.offsets;
}

// What a run has seen so far. Its progress record is kept here and committed with the analysis at
// the end, so that a program ended in mid-run leaves no half record behind.
struct RunProgress {
  float best = 0;
  int generation = 0;
  std::string record;
};

// A new best makespan (or the first, at generation 0): one line of the record, and the first
// generation at the target.
void recordImprovement(float best, const RunState& state, RunProgress& progress,
                       RunSummary& summary) {
  progress.best = best;
  appendProgressLine(progress.record, best, progress.generation);
  if (!summary.targetGeneration && reachesTarget(best, state.instance)) {
    summary.targetGeneration = progress.generation;
    summary.targetEvaluations = state.evaluationCount;
  }
}

// Generations until the budget is spent or a stop comes.
void runGenerations(RunState& state, RunOutput& output, DriverScratch& scratch, int runNumber,
                    RunProgress& progress, RunSummary& summary) {
  while (state.evaluationCount < state.parameters.maxEvaluations && !state.stop.stopRequested()) {
    ++progress.generation;
    // No clearing of matingPool and offspring: with an even population (the reader refuses an odd
    // one) selection and offspring generation overwrite every value of both, so zeros put there
    // first could never be seen.
    if (!advanceGeneration(state, state.random, state.stop, scratch.selection, scratch.variation,
                           scratch.replacement)) {
      // Given up on a stop: the run closes with the population and count from before it.
      --progress.generation;
      summary.abandonedGeneration = true;
      summary.cut = true;
      return;
    }
    const float best = state.population.fitness(0);
    showRunProgress(output.progress, runNumber, std::max(1, state.parameters.runCount),
                    state.evaluationCount, state.parameters.maxEvaluations,
                    std::min(best, progress.best));
    if (best < progress.best) recordImprovement(best, state, progress, summary);
  }
}

void closeSummary(const RunState& state, const RunProgress& progress, RunSummary& summary) {
  summary.bestMakespan = progress.best;
  summary.generations = progress.generation;
  summary.evaluations = state.evaluationCount;
  summary.cut = summary.cut || (state.stop.stopRequested() &&
                                state.evaluationCount < state.parameters.maxEvaluations);
}

// One run; sets outputOk to false when a result file failed.
RunSummary performRun(RunState& state, RunOutput& output, int runNumber, DriverScratch& scratch,
                      bool& outputOk) {
  const auto startTime = std::chrono::steady_clock::now();
  RunSummary summary;
  summary.run = runNumber;
  initialiseRun(state, scratch);
  state.evaluationCount = state.population.size;
  RunProgress progress;
  recordImprovement(state.population.fitness(0), state, progress, summary);
  runGenerations(state, output, scratch, runNumber, progress, summary);
  closeSummary(state, progress, summary);
  clearProgressLine(output.progress);
  progress.record += "\n";
  commitRun(state, output, progress.record, summary, scratch, outputOk);
  summary.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - startTime).count();
  return summary;
}

}  // namespace

ExecutionOutcome executeRuns(RunState& state, RunOutput& output) {
  reseedFromClock(state.random, state.clock);
  DriverScratch scratch;
  ExecutionOutcome outcome;
  int runNumber = 1;
  do {
    outcome.runs.push_back(performRun(state, output, runNumber, scratch, outcome.outputOk));
    ++runNumber;
    std::fprintf(output.out, "%d\n", runNumber);
    if (state.stop.stopRequested()) {
      outcome.interruption = state.stop.stopSignal();
      break;
    }
  } while (runNumber <= state.parameters.runCount);
  return outcome;
}

}  // namespace jobshop
