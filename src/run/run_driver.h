// The run loop: runCount independent runs on one instance, each from a fresh random population
// through generations until the evaluation budget is spent, then the optima analysis.
#pragma once

#include <cstdio>
#include <string>

#include "model/run_state.h"
#include "run/progress_display.h"

// Where an execution writes: the folder of the five result files (empty for the current one,
// otherwise ending in '/') and the stream of the run numbers and messages.
struct RunOutput {
  std::string folder;
  std::FILE* out = stdout;
  ProgressDisplay progress;
};

// Performs every run of the execution on `state`. Returns false when any result file could not be
// opened, written or closed (the runs still all take place).
bool executeRuns(RunState& state, RunOutput& output);
