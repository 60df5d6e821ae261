// The pool of child processes, the stop signals and the progress line.
#include "campaigns/campaign_runner.h"

#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>

#include "campaigns/execution_claim.h"
#include "campaigns/execution_launch.h"
#include "campaigns/execution_state.h"
#include "results/file_digest.h"
#include "support/progress_line.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

// SIGINT, SIGTERM and SIGCHLD are held back for the lifetime of the runner and taken only when it
// waits, so that a stop can never slip in between a look at the flag and a blocking wait; the
// previous mask and SIGCHLD action come back after.
struct StopSignals {
  sigset_t held{}, previousMask{};
  struct sigaction previousChild {};
  StopSignals() {
    sigemptyset(&held);
    for (int signal : {SIGINT, SIGTERM, SIGCHLD}) sigaddset(&held, signal);
    // An inherited "ignore" would have the kernel reap the children before the runner sees them.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    sigaction(SIGCHLD, &byDefault, &previousChild);
    sigprocmask(SIG_BLOCK, &held, &previousMask);
  }
  ~StopSignals() {
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    // A stop that came after the runner had ended its executions is taken here: unblocked, it
    // would end the program before it reports.
    const timespec now{0, 0};
    while (sigtimedwait(&stops, nullptr, &now) > 0) {
    }
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    sigaction(SIGCHLD, &previousChild, nullptr);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Waits for a child to end, a stop or a second to pass; true for a stop.
  bool waitForEvent() const {
    const timespec second{1, 0};
    const int signal = sigtimedwait(&held, nullptr, &second);
    return signal == SIGINT || signal == SIGTERM;
  }

  // True when a stop is waiting to be taken, without waiting.
  bool stopPending() const {
    sigset_t pending;
    sigpending(&pending);
    return sigismember(&pending, SIGINT) == 1 || sigismember(&pending, SIGTERM) == 1;
  }
};

// Executions finished of those planned and the time left at the pace of those started here.
void showCampaignProgress(ProgressLine& line, int finished, int failed, int startedHere,
                          int total) {
  if (!progressLineDue(line)) return;
  std::string text = "campaign: " + std::to_string(finished) + " of " + std::to_string(total) +
                     " done | " + std::to_string(failed) + " failed | " + elapsedText(line);
  if (startedHere > 0 && finished < total) {
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - line.started).count();
    text += " | about " + elapsedText(elapsed / startedHere * (total - finished)) + " left";
  }
  drawProgressLine(line, text);
}

// An execution to run, with its failed marker as it was when the runner chose it.
struct Queued {
  const PlannedExecution* execution;
  std::optional<std::string> failedBefore;
};

}  // namespace

RunnerReport runCampaign(const std::string& campaignFolder,
                         const std::vector<PlannedExecution>& executions,
                         const RunnerOptions& options) {
  RunnerReport report;
  report.planned = static_cast<int>(executions.size());
  std::vector<Queued> queue;
  for (const PlannedExecution& e : executions) {
    const std::string folder = campaignFolder + e.folder + "/";
    const ExecutionState state = executionState(folder);
    if (state == ExecutionState::kDone) {
      ++report.alreadyDone;
    } else if (state == ExecutionState::kRunning &&
               claimLiveness(folder) != ClaimLiveness::kStale) {
      ++report.skipped;
    } else {
      queue.push_back({&e, readWholeFile(folder + kFailedMarker)});
    }
  }

  const StopSignals signals;
  ProgressLine progress = terminalProgressLine(false);
  std::map<pid_t, std::string> running;
  std::size_t next = 0;
  int finishedHere = 0;
  bool stop = false;
  bool childrenStopped = false;
  auto finished = [&] { return report.alreadyDone + report.done; };
  showCampaignProgress(progress, finished(), 0, 0, report.planned);
  while (!running.empty() || (next < queue.size() && !stop)) {
    while (!(stop = stop || signals.stopPending()) && next < queue.size() &&
           static_cast<int>(running.size()) < options.jobs) {
      const Queued& queued = queue[next++];
      const PlannedExecution& e = *queued.execution;
      const Launch launch = startExecution(options.program, campaignFolder,
                                           campaignFolder + e.folder + "/", e, queued.failedBefore);
      switch (launch.outcome) {
        case Launch::Outcome::kStarted:
          running[launch.pid] = e.folder;
          break;
        case Launch::Outcome::kHeldElsewhere:
          ++report.skipped;
          break;
        case Launch::Outcome::kDone:
          ++report.alreadyDone;
          break;
        case Launch::Outcome::kFailedElsewhere:
          ++report.failedElsewhere;
          break;
        case Launch::Outcome::kFailed:
          report.failures.push_back({e.folder, launch.problem});
          break;
      }
    }
    if (running.empty()) break;
    if (stop && !childrenStopped) {
      for (const auto& [child, folder] : running) ::kill(child, SIGTERM);
      childrenStopped = true;
    }
    int status = 0;
    const pid_t pid = ::waitpid(-1, &status, WNOHANG);
    if (pid == 0) {
      stop = signals.waitForEvent() || stop;
      // Also once a second, so that the clock moves and a count held back by the redraw interval
      // shows.
      showCampaignProgress(progress, finished(), static_cast<int>(report.failures.size()),
                           finishedHere, report.planned);
      continue;
    }
    if (pid < 0) {
      if (errno == ECHILD) break;
      continue;
    }
    const auto child = running.find(pid);
    if (child == running.end()) continue;
    const std::string folder = campaignFolder + child->second + "/";
    // Ctrl-C reaches the children with the runner: a child that ended of it was stopped on purpose.
    stop = stop || signals.stopPending();
    if (stop) {
      // Ended on purpose, whatever its status: pending again, never half recorded.
      abandonExecution(folder);
    } else {
      const Outcome outcome = finishExecution(folder, status);
      if (outcome.done)
        ++report.done;
      else
        report.failures.push_back({child->second, outcome.reason});
    }
    ++finishedHere;
    running.erase(child);
    showCampaignProgress(progress, finished(), static_cast<int>(report.failures.size()),
                         finishedHere, report.planned);
  }
  clearProgressLine(progress);
  report.interrupted = stop;
  return report;
}

}  // namespace jobshop
