// Child processes by fork and exec, their outcome recorded by markers.
#include "campaigns/execution_launch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <vector>

#include "campaigns/child_process.h"
#include "campaigns/execution_claim.h"
#include "campaigns/execution_state.h"
#include "input/niching_fields.h"
#include "results/execution_record.h"
#include "results/file_digest.h"
#include "support/bounded_file.h"
#include "support/failure.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

// The started child, or why it did not start.
OrFailure<pid_t> spawnChild(const std::string& program, const std::string& folder,
                            const PlannedExecution& execution) {
  return startChild(launchArguments(program, folder, execution), folder + "stdout.txt",
                    folder + "stderr.txt");
}

std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// The marker's own text, else the running marker renamed: a rename needs no room on the disk.
MaybeFailure placeMarker(const std::string& folder, const char* marker, const std::string& text) {
  MaybeFailure failure = writeMarker(folder, marker, text);
  if (!failure) return std::nullopt;
  if (::rename((folder + kRunningMarker).c_str(), (folder + marker).c_str()) == 0)
    return std::nullopt;
  return failure;
}

}  // namespace

std::vector<std::string> launchArguments(const std::string& program, const std::string& folder,
                                         const PlannedExecution& execution) {
  std::vector<std::string> args = {
      program, "--dir", folder, "--seed", std::to_string(execution.seed), "--quiet", "--record"};
  for (std::string& arg : nichingArguments(execution.parameters.niching))
    args.push_back(std::move(arg));
  return args;
}

std::string selfProgramPath() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string("jobshop-niching") : self.string();
}

Launch startExecution(const std::string& program, const std::string& campaignFolder,
                      const std::string& folder, const PlannedExecution& execution,
                      const std::optional<std::string>& failedBefore) {
  Launch launch;
  std::error_code missing;
  if (!std::filesystem::is_directory(folder, missing)) {
    launch.problem = "its folder is missing (plan the campaign again)";
    return launch;
  }
  const OrFailure<ClaimResult> claim = claimExecution(campaignFolder, folder);
  if (!claim) {
    launch.problem = claim.reason();
    return launch;
  }
  if (*claim == ClaimResult::kHeldElsewhere) {
    launch.outcome = Launch::Outcome::kHeldElsewhere;
    return launch;
  }
  // Another runner may have finished it between the caller's look and this claim.
  if (executionState(folder) == ExecutionState::kDone ||
      readWholeFile(folder + kFailedMarker, kMaxMarkerFileBytes) != failedBefore) {
    launch.outcome = executionState(folder) == ExecutionState::kDone
                         ? Launch::Outcome::kDone
                         : Launch::Outcome::kFailedElsewhere;
    releaseClaim(folder);
    return launch;
  }
  const std::string ours = claimText(thisRunner());
  if (!holdsClaim(folder, ours) || !clearExecution(folder) || !holdsClaim(folder, ours)) {
    launch.problem = "could not clear its folder for a fresh start";
    releaseClaim(folder);
    return launch;
  }
  const OrFailure<pid_t> child = spawnChild(program, folder, execution);
  if (!child) {
    launch.problem = child.reason();
    placeMarker(folder, kFailedMarker, launch.problem + "\n");
    releaseClaim(folder);
    return launch;
  }
  launch.pid = *child;
  recordChild(campaignFolder, folder, launch.pid);
  launch.outcome = Launch::Outcome::kStarted;
  return launch;
}

Outcome finishExecution(const std::string& folder, int waitStatus) {
  const bool exitedOk = WIFEXITED(waitStatus) && WEXITSTATUS(waitStatus) == 0;
  const std::string finished = "finished " + isoUtc(std::time(nullptr)) + "\n";
  Outcome outcome;
  if (exitedOk) {
    const MaybeFailure failure = placeMarker(folder, kDoneMarker, "exit 0\n" + finished);
    outcome.done = !failure;
    if (!outcome.done)
      outcome.reason = "exit 0, but its done marker could not be written (" + failure->reason +
                       "); it stays pending";
  } else {
    const std::string how = endedText(waitStatus);
    const std::string errors =
        trimmed(readWholeFile(folder + "stderr.txt", kMaxRecordFileBytes).value_or(""));
    outcome.reason = errors.empty() ? how : errors;
    const MaybeFailure failure = placeMarker(folder, kFailedMarker, how + "\n" + finished);
    if (failure)
      outcome.reason += "\n(" + how +
                        "; its failed marker could not be written: " + failure->reason +
                        "; it stays pending)";
  }
  releaseClaim(folder);
  return outcome;
}

void abandonExecution(const std::string& folder) {
  clearExecution(folder);
  releaseClaim(folder);
}

Launch runExecution(const std::string& program, const std::string& campaignFolder,
                    const std::string& folder, const PlannedExecution& execution,
                    const std::optional<std::string>& failedBefore, Outcome& outcome) {
  Launch launch = startExecution(program, campaignFolder, folder, execution, failedBefore);
  if (launch.outcome != Launch::Outcome::kStarted) return launch;
  int status = 0;
  while (::waitpid(launch.pid, &status, 0) < 0) {
    if (errno != EINTR) {
      status = 1 << 8;
      break;
    }
  }
  outcome = finishExecution(folder, status);
  return launch;
}

}  // namespace jobshop
