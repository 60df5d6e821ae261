// The run loop: runCount independent runs on one instance, each from a fresh random population
// through generations until the evaluation budget is spent, then the optima analysis.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "model/run_state.h"
#include "results/execution_record.h"
#include "support/progress_line.h"

namespace jobshop {

// Where an execution writes: the folder of the five result files (empty for the current one,
// otherwise ending in '/') and the stream of the run numbers and messages.
struct RunOutput {
  std::string folder;
  std::FILE* out = stdout;
  ProgressLine progress;
};

struct ExecutionOutcome {
  bool outputOk = true;  // false when any result file could not be opened, written or closed
  std::vector<RunSummary> runs;
  int interruption = 0;  // the signal number that stopped the execution early, 0 when none did
};

// Performs every run of the execution on `state` (they all take place whatever the files do, unless
// state.stop answers yes: the run in progress then writes its records as it stands, and no further
// run starts).
ExecutionOutcome executeRuns(RunState& state, RunOutput& output);

}  // namespace jobshop
