// The loop over an execution's runs and the writing of each one's records.
#include "run/main_run.h"

#include "evolution/run_loop.h"
#include "results/run_writing.h"
#include "run/main_run_messages.h"
#include "support/interruption.h"

namespace jobshop {

namespace {

// Commits the run's records to the five files, all or none, with the stop signals held back; sets
// outputOk to false when a file failed. Returns the run's summary.
RunSummary commitRun(const RunResult& result, RunOutput& output, bool& outputOk) {
  const DeferredInterruptions whileWriting;
  const WrittenRun written = writeRunResult(output.folder, result);
  for (const bool opened : {written.progressOpened, written.analysisOpened, written.traceOpened}) {
    if (!opened) {
      output.out << outputOpenMessage();
      outputOk = false;
    }
  }
  if (!written.commit.failure.empty()) {
    output.err << recordCommitFailureMessage(written.commit.failure, result.run);
    outputOk = false;
  }
  return summariseRun(result, written.commit.offsets, written.traceOffset);
}

}  // namespace

ExecutionOutcome executeRuns(RunState& state, RunOutput& output) {
  reseedFromClock(state.random, state.clock);
  RunScratch scratch(state.parameters);
  ExecutionOutcome outcome;
  int runNumber = 1;
  do {
    const RunResult result = performRun(state, runNumber, RunWatch{output.progress}, scratch);
    outcome.runs.push_back(commitRun(result, output, outcome.outputOk));
    ++runNumber;
    output.out << runNumber << '\n';
    if (state.stop.stopRequested()) {
      outcome.interruption = state.stop.stopSignal();
      break;
    }
  } while (runNumber <= state.parameters.runCount);
  return outcome;
}

}  // namespace jobshop
