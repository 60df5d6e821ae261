// The run loop: runCount independent runs on one instance, each from a fresh random population
// through generations until the evaluation budget is spent, then the optima analysis.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "model/run_state.h"
#include "results/execution_record.h"
#include "run/progress_display.h"

// Where an execution writes: the folder of the five result files (empty for the current one,
// otherwise ending in '/') and the stream of the run numbers and messages.
struct RunOutput {
  std::string folder;
  std::FILE* out = stdout;
  ProgressDisplay progress;
};

struct ExecutionOutcome {
  bool outputOk = true;  // false when any result file could not be opened, written or closed
  std::vector<RunSummary> runs;
};

// Performs every run of the execution on `state` (they all take place whatever the files do).
ExecutionOutcome executeRuns(RunState& state, RunOutput& output);
