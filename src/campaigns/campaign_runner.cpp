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
#include "campaigns/stop_signals.h"
#include "results/file_digest.h"
#include "support/bounded_file.h"
#include "support/progress_line.h"
#include "support/stop_condition.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

void showCampaignProgress(ProgressLine& line, int finished, int failed, int startedHere,
                          int total) {
  if (!progressLineDue(line)) return;
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - line.started).count();
  drawProgressLine(line, campaignProgressText(finished, failed, startedHere, total, elapsed));
}

// An execution to run, with its failed marker as it was when the runner chose it.
struct Queued {
  const PlannedExecution* execution;
  std::optional<std::string> failedBefore;
};

// Every execution that is not done nor held by a live claim; the others are counted.
std::vector<Queued> queueExecutions(const std::string& campaignFolder,
                                    const std::vector<PlannedExecution>& executions,
                                    RunnerReport& report) {
  std::vector<Queued> queue;
  for (const PlannedExecution& e : executions) {
    const std::string folder = campaignFolder + e.folder + "/";
    const ExecutionState state = effectiveState(folder);
    if (state == ExecutionState::kDone) {
      ++report.alreadyDone;
    } else if (state == ExecutionState::kRunning) {
      ++report.skipped;
    } else {
      queue.push_back({&e, readWholeFile(folder + kFailedMarker, kMaxMarkerFileBytes)});
    }
  }
  return queue;
}

// The children running and the queue still to start, up to options.jobs at a time.
struct Pool {
  const std::string& campaignFolder;
  const RunnerOptions& options;
  RunnerReport& report;
  std::vector<Queued> queue;
  std::size_t next = 0;
  std::map<pid_t, std::string> running = {};  // execution folder names
  int finishedHere = 0;
  // Raised with the first stop signal taken (the runner holds them blocked and takes them itself).
  StopCondition stop = {};
  bool childrenStopped = false;
  ProgressLine progress = terminalProgressLine(false);

  bool stopped() const { return stop.stopRequested(); }
  void noteStop(int signal) {
    if (signal != 0) stop.raise(signal);
  }

  bool busy() const { return !running.empty() || (next < queue.size() && !stopped()); }

  void showProgress() {
    showCampaignProgress(progress, report.alreadyDone + report.done,
                         static_cast<int>(report.failures.size()), finishedHere, report.planned);
  }

  void startWhileRoom(const StopSignals& signals) {
    for (noteStop(signals.pendingStop());
         !stopped() && next < queue.size() && static_cast<int>(running.size()) < options.jobs;
         noteStop(signals.pendingStop()))
      start(queue[next++]);
  }

  void start(const Queued& queued) {
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

  void stopChildrenOnce() {
    if (!stopped() || childrenStopped) return;
    for (const auto& [child, folder] : running) ::kill(child, SIGTERM);
    childrenStopped = true;
  }

  // Takes one ended child, or waits for a child, a stop or a second; false when no child is left
  // to wait for.
  bool waitForChild(const StopSignals& signals) {
    int status = 0;
    const pid_t pid = ::waitpid(-1, &status, WNOHANG);
    if (pid == 0) {
      noteStop(signals.waitForEvent());
      // Also once a second, so that the clock moves and a count held back by the redraw interval
      // shows.
      showProgress();
      return true;
    }
    if (pid < 0) return errno != ECHILD;
    const auto child = running.find(pid);
    if (child == running.end()) return true;
    // Ctrl-C reaches the children with the runner: a child that ended of it was stopped on purpose.
    noteStop(signals.pendingStop());
    finish(child->second, status);
    ++finishedHere;
    running.erase(child);
    showProgress();
    return true;
  }

  void finish(const std::string& name, int status) {
    const std::string folder = campaignFolder + name + "/";
    if (stopped()) {
      // Ended on purpose, whatever its status: pending again, never half recorded.
      abandonExecution(folder);
      return;
    }
    const Outcome outcome = finishExecution(folder, status);
    if (outcome.done)
      ++report.done;
    else
      report.failures.push_back({name, outcome.reason});
  }
};

}  // namespace

std::string campaignProgressText(int finished, int failed, int startedHere, int total,
                                 double seconds) {
  std::string text = "campaign: " + std::to_string(finished) + " of " + std::to_string(total) +
                     " done | " + std::to_string(failed) + " failed | " + elapsedText(seconds);
  if (startedHere > 0 && finished < total)
    text += " | about " + elapsedText(seconds / startedHere * (total - finished)) + " left";
  return text;
}

RunnerReport runCampaign(const std::string& campaignFolder,
                         const std::vector<PlannedExecution>& executions,
                         const RunnerOptions& options) {
  RunnerReport report;
  report.planned = static_cast<int>(executions.size());
  Pool pool{campaignFolder, options, report, queueExecutions(campaignFolder, executions, report)};
  const StopSignals signals;
  pool.showProgress();
  while (pool.busy()) {
    pool.startWhileRoom(signals);
    if (pool.running.empty()) break;
    pool.stopChildrenOnce();
    if (!pool.waitForChild(signals)) break;
  }
  clearProgressLine(pool.progress);
  report.stopSignal = pool.stop.stopSignal();
  return report;
}

}  // namespace jobshop
