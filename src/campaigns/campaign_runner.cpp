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

namespace {

// A signal handler can only leave a flag; this is the one place the runner keeps it.
volatile sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

// Installs the stop handlers for the lifetime of the runner, restoring the previous ones after.
struct StopSignals {
  struct sigaction previousInt {
  }, previousTerm{};
  StopSignals() {
    stopRequested = 0;
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: waitpid returns so the stop is seen at once
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
  }
  ~StopSignals() {
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
  }
};

std::string clockText(double seconds) {
  const long total = static_cast<long>(seconds + 0.5);
  char text[32];
  if (total >= 3600)
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  else
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  return text;
}

struct Progress {
  std::ostream& out;
  bool shown;
  int total;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

  void show(int finished, int failed, int startedHere) const {
    if (!shown) return;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::string line = "\r\033[Kcampaign: " + std::to_string(finished) + " of " +
                       std::to_string(total) + " done | " + std::to_string(failed) + " failed | " +
                       clockText(elapsed);
    if (startedHere > 0 && finished < total) {
      const double each = elapsed / startedHere;
      line += " | about " + clockText(each * (total - finished)) + " left";
    }
    out << line << std::flush;
  }
  void clear() const {
    if (shown) out << "\r\033[K" << std::flush;
  }
};

// An execution to run, with its failed marker as it was when the runner chose it.
struct Queued {
  const PlannedExecution* execution;
  std::optional<std::string> failedBefore;
};

}  // namespace

RunnerReport runCampaign(const std::string& campaignFolder,
                         const std::vector<PlannedExecution>& executions,
                         const RunnerOptions& options, std::ostream& progressStream) {
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
      queue.push_back({&e, readFileBytes(folder + kFailedMarker)});
    }
  }

  const StopSignals signals;
  const Progress progress{progressStream, options.showProgress, report.planned};
  std::map<pid_t, std::string> running;
  std::size_t next = 0;
  int finishedHere = 0;
  auto finished = [&] { return report.alreadyDone + report.done; };
  progress.show(finished(), 0, 0);
  while (!running.empty() || (next < queue.size() && !stopRequested)) {
    while (!stopRequested && next < queue.size() &&
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
    int status = 0;
    const pid_t pid = ::waitpid(-1, &status, 0);
    if (pid < 0) {
      if (errno == EINTR && stopRequested) {
        for (const auto& [child, folder] : running) ::kill(child, SIGTERM);
      }
      if (errno == ECHILD) break;
      continue;
    }
    const auto child = running.find(pid);
    if (child == running.end()) continue;
    const std::string folder = campaignFolder + child->second + "/";
    if (stopRequested) {
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
    progress.show(finished(), static_cast<int>(report.failures.size()), finishedHere);
  }
  progress.clear();
  report.interrupted = stopRequested != 0;
  return report;
}
