// Running one execution of a campaign as a child process of the program itself, with the
// completion-marker rule: claimed first, cleared when found half done, marked done only after it
// exited 0, and never left to run on once its runner is gone.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "campaigns/campaign_plan.h"

namespace jobshop {

// The path of the running program, so that children run the very same build.
std::string selfProgramPath();

struct Launch {
  enum class Outcome {
    kStarted,
    kHeldElsewhere,    // another runner holds it
    kDone,             // another runner finished it meanwhile
    kFailedElsewhere,  // another runner ran it meanwhile and it failed
    kFailed,           // could not be claimed, cleared or started: problem says why
  } outcome = Outcome::kFailed;
  pid_t pid = -1;
  std::string problem;
};

// Claims the execution in folder (under campaignFolder), clears it when it is not done (a
// cut-off or failed attempt leaves files that must not be appended to), and starts
// `program --dir folder --seed S --quiet --record` and the execution's niching options
// (launchArguments) with standard output and error in
// "stdout.txt" and "stderr.txt"; the running marker then names the child too. The child is
// killed when this process dies. failedBefore is the failed marker's text when the caller chose
// to run the execution again (none when it was not failed then): a failure of another runner
// since then is left as it is.
Launch startExecution(const std::string& program, const std::string& campaignFolder,
                      const std::string& folder, const PlannedExecution& execution,
                      const std::optional<std::string>& failedBefore);

// The command line of the execution in folder, the program first.
std::vector<std::string> launchArguments(const std::string& program, const std::string& folder,
                                         const PlannedExecution& execution);

struct Outcome {
  bool done = false;
  std::string reason;  // for a failure: its standard error, else how it ended, and what was kept
};

// Records how the child ended: the done marker after exit 0, the failed marker otherwise, each
// falling back to renaming the running marker into its place when the disk has no room left for
// a new file's text; then the claim is released.
Outcome finishExecution(const std::string& folder, int waitStatus);

// Leaves an execution that was stopped on purpose pending again: its files cleared, its claim
// released.
void abandonExecution(const std::string& folder);

// Runs one execution to its end in this process's time (for a cluster task).
Launch runExecution(const std::string& program, const std::string& campaignFolder,
                    const std::string& folder, const PlannedExecution& execution,
                    const std::optional<std::string>& failedBefore, Outcome& outcome);

}  // namespace jobshop
