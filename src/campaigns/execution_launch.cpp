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

// What a child that could not reach exec reports through its pipe.
struct StartFailure {
  int step;  // index into kStartSteps
  int error;
};

const char* const kStartSteps[] = {"open /dev/null", "create stdout.txt", "create stderr.txt",
                                   "run the program", "outlive its runner"};

[[noreturn]] void failStart(int report, int step) {
  const StartFailure failure{step, errno};
  [[maybe_unused]] const ssize_t sent = ::write(report, &failure, sizeof failure);
  ::_exit(127);
}

// In the child between fork and exec: only calls that are safe there.
[[noreturn]] void becomeExecution(pid_t runner, int report, const char* program, char* const* argv,
                                  const char* out, const char* err) {
  // Dies with its runner; a runner already gone before this took effect is caught by the check.
  if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != runner) failStart(report, 4);
  // The child reacts to signals as a program started from a shell does, whatever the runner set.
  for (int signal : {SIGINT, SIGTERM, SIGXFSZ, SIGPIPE}) ::signal(signal, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  const int files[3] = {::open("/dev/null", O_RDONLY),
                        ::open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644),
                        ::open(err, O_WRONLY | O_CREAT | O_TRUNC, 0644)};
  for (int stream = 0; stream < 3; ++stream)
    if (files[stream] < 0 || ::dup2(files[stream], stream) < 0) failStart(report, stream);
  ::execv(program, argv);
  failStart(report, 3);
}

// The started child, or why it did not start.
OrFailure<pid_t> spawnChild(const std::string& program, const std::string& folder,
                            const PlannedExecution& execution) {
  std::vector<std::string> args = launchArguments(program, folder, execution);
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const std::string out = folder + "stdout.txt";
  const std::string err = folder + "stderr.txt";
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0)
    return Failure{"could not start " + program + ": " + std::strerror(errno)};
  const pid_t runner = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0)
    becomeExecution(runner, report[1], program.c_str(), argv.data(), out.c_str(), err.c_str());
  const int forkError = errno;
  ::close(report[1]);
  StartFailure failure{};
  ssize_t got = 0;
  if (pid > 0)
    while ((got = ::read(report[0], &failure, sizeof failure)) < 0 && errno == EINTR) {
    }
  ::close(report[0]);
  if (pid < 0) return Failure{"could not start " + program + ": " + std::strerror(forkError)};
  if (got <= 0) return pid;  // the pipe closed at exec
  while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
  return Failure{"could not " + std::string(kStartSteps[failure.step]) + " (" + program +
                 "): " + std::strerror(failure.error)};
}

std::string endedText(int waitStatus) {
  if (WIFEXITED(waitStatus)) return "exit " + std::to_string(WEXITSTATUS(waitStatus));
  const int signal = WIFSIGNALED(waitStatus) ? WTERMSIG(waitStatus) : 0;
  return "signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
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
