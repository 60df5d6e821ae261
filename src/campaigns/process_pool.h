// Running many commands as children, a few at a time, until all have ended or a stop comes.
#pragma once

#include <string>
#include <vector>

namespace jobshop {

struct PoolCommand {
  std::vector<std::string> args;  // the program's path first
  std::string outPath;            // its standard output
  std::string errPath;            // its standard error
};

struct PoolOutcome {
  // Per command, in order: how it ended ("exit 0", "signal 9 (Killed)"), "" when it never
  // started because a stop came first, or why it could not start.
  std::vector<std::string> ended;
  std::vector<bool> succeeded;  // exit 0
  int stopSignal = 0;           // SIGINT or SIGTERM when one stopped the pool, else 0
};

// Runs the commands in order, at most atOnce at a time. A SIGINT or SIGTERM to this process
// starts no more, passes SIGTERM on to the children still running and waits for them.
PoolOutcome runPool(const std::vector<PoolCommand>& commands, int atOnce);

}  // namespace jobshop
