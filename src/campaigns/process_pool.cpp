// The children are waited for with the stop signals held back, as the campaign runner does, so that
// a stop is never lost between a look and a wait.
#include "campaigns/process_pool.h"

#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <map>

#include "campaigns/child_process.h"
#include "campaigns/stop_signals.h"
#include "support/failure.h"

namespace jobshop {

PoolOutcome runPool(const std::vector<PoolCommand>& commands, int atOnce) {
  PoolOutcome outcome;
  outcome.ended.assign(commands.size(), "");
  outcome.succeeded.assign(commands.size(), false);
  const StopSignals signals;
  std::map<pid_t, std::size_t> running;
  std::size_t next = 0;
  const auto noteStop = [&](int signal) {
    if (signal == 0 || outcome.stopSignal != 0) return;
    outcome.stopSignal = signal;
    for (const auto& [child, index] : running) ::kill(child, SIGTERM);
  };
  while (!running.empty() || (next < commands.size() && outcome.stopSignal == 0)) {
    noteStop(signals.pendingStop());
    while (outcome.stopSignal == 0 && next < commands.size() &&
           static_cast<int>(running.size()) < atOnce) {
      const PoolCommand& command = commands[next];
      const OrFailure<pid_t> child = startChild(command.args, command.outPath, command.errPath);
      if (child)
        running[*child] = next;
      else
        outcome.ended[next] = child.reason();
      ++next;
    }
    int status = 0;
    const pid_t pid = ::waitpid(-1, &status, WNOHANG);
    if (pid == 0) {
      noteStop(signals.waitForEvent());
      continue;
    }
    if (pid < 0) {
      if (errno == ECHILD) break;
      continue;
    }
    const auto child = running.find(pid);
    if (child == running.end()) continue;
    outcome.ended[child->second] = endedText(status);
    outcome.succeeded[child->second] = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    running.erase(child);
  }
  return outcome;
}

}  // namespace jobshop
