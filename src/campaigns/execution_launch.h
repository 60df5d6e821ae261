// Running one execution of a campaign as a child process of the program itself, with the
// completion-marker rule: cleared first when found half done, marked done only after it exited 0.
#pragma once

#include <sys/types.h>

#include <string>

#include "campaigns/campaign_plan.h"

// The path of the running program, so that children run the very same build.
std::string selfProgramPath();

// Clears the execution in folder when it is not done (a cut-off or failed attempt leaves files
// that must not be appended to), writes its running marker and starts
// `program --dir folder --seed S --quiet --record` with standard output and error in
// "stdout.txt" and "stderr.txt". Returns the child's pid, or -1 when it could not start.
pid_t startExecution(const std::string& program, const std::string& folder,
                     const PlannedExecution& execution);

// Records how the child ended: the done marker after exit 0, the failed marker otherwise; the
// running marker is removed. Returns true for done.
bool finishExecution(const std::string& folder, int waitStatus);

// Leaves an execution that was stopped on purpose pending again: its files cleared.
void abandonExecution(const std::string& folder);

// Runs one execution to its end in this process's time (for a cluster task). True when done.
bool runExecution(const std::string& program, const std::string& folder,
                  const PlannedExecution& execution);

// The standard error an execution left, for failure reports.
std::string executionErrors(const std::string& folder);
