// One run of an execution: a fresh random population, generations until the evaluation budget is
// spent or a stop comes, then the analysis of the final population.
#pragma once

#include <csignal>

#include "evolution/population_census.h"
#include "evolution/run_result.h"
#include "model/machine_sequences.h"
#include "model/makespan.h"
#include "model/run_state.h"
#include "niching/niching_scheme.h"
#include "support/progress_line.h"
#include "variation/variation_scratch.h"

namespace jobshop {

// Scratch of a run and the steps it calls, made once per execution; it holds the execution's
// niching scheme.
struct RunScratch {
  NichingScheme niching;
  VariationScratch variation;
  MakespanScratch makespan;
  SequenceScratch sequences;
  Population orderingCopy;
  // The count behind the run's trace; what it has found is forgotten at the start of each run.
  PopulationCensus census;

  explicit RunScratch(const Parameters& parameters) : niching(chooseNichingScheme(parameters)) {}
};

// What a run shows while it goes: the progress line it redraws every generation. What it heeds is
// state.stop, asked between generations and by the steps inside one; once it answers yes, the run
// closes with the population as it stands.
struct RunWatch {
  ProgressLine& progress;
};

// Run runNumber of the execution on state, drawing from state.random as it stands.
RunResult performRun(RunState& state, int runNumber, RunWatch watch, RunScratch& scratch);

}  // namespace jobshop
