// The runs of one execution of the main run: each performed, its records written with the stop
// signals held back, and its number shown.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "model/run_state.h"
#include "results/execution_record.h"
#include "support/progress_line.h"

namespace jobshop {

// Where an execution writes: the folder of the five result files (empty for the current one,
// otherwise ending in '/'), the stream of the run numbers and the one of the failures.
struct RunOutput {
  std::string folder;
  std::ostream& out;
  std::ostream& err;
  ProgressLine progress;
};

struct ExecutionOutcome {
  bool outputOk = true;  // false when any result file could not be opened, written or closed
  std::vector<RunSummary> runs;
  int interruption = 0;  // the signal number that stopped the execution early, 0 when none did
};

// Reseeds state.random from state.clock, then performs every run of the execution on state (they
// all take place whatever the files do, unless state.stop answers yes: the run in progress then
// writes its records as it stands, and no further run starts).
ExecutionOutcome executeRuns(RunState& state, RunOutput& output);

}  // namespace jobshop
