// Running a campaign's pending executions on this machine, K at a time, until all are done or a
// signal asks to stop.
#pragma once

#include <string>
#include <vector>

#include "campaigns/campaign_plan.h"

namespace jobshop {

struct RunnerOptions {
  int jobs = 1;
  std::string program;  // the program each execution runs
};

struct ExecutionFailure {
  std::string folder;
  std::string errors;  // its standard error, or how it ended
};

struct RunnerReport {
  int planned = 0;
  int alreadyDone = 0;
  int done = 0;             // finished by this runner
  int skipped = 0;          // claimed by another runner
  int failedElsewhere = 0;  // failed in another runner since this one started
  std::vector<ExecutionFailure> failures;
  int stopSignal = 0;  // SIGINT or SIGTERM when one stopped the runner (the rest left pending)
};

// Runs every execution of the campaign folder that is not done: pending, failed and cut-off ones
// (cleared first), each claimed before it starts so that other runners on the same folder, here
// or on other hosts, never start it too; ones claimed by a live runner or child, or by another
// host, are left alone. On SIGINT or SIGTERM no new execution starts and the running ones are
// ended and left pending.
RunnerReport runCampaign(const std::string& campaignFolder,
                         const std::vector<PlannedExecution>& executions,
                         const RunnerOptions& options);

// The progress line: executions finished of those planned, failures, the time since the start
// and, once some have ended here, the time left at their pace.
std::string campaignProgressText(int finished, int failed, int startedHere, int total,
                                 double seconds);

}  // namespace jobshop
