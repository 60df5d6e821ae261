// Ctrl-C and SIGTERM during the main run: the first signal asks the execution to stop after the
// run in progress has written its records, a second one ends the program at once; result records
// are written with both signals held back, so that either way every file holds whole records only.
#pragma once

#include <csignal>

namespace jobshop {

// Installs the SIGINT and SIGTERM handlers (sigaction). The first signal stores its number in
// interruptionFlag(); a second one restores the default action and raises itself again.
void installInterruptionHandlers();

// The number of the first signal received (SIGINT or SIGTERM), 0 while none has come. The run
// driver reads it between generations.
const volatile std::sig_atomic_t& interruptionFlag();

// The exit status of an execution stopped by `signal`: 128 + its number, as shells report it
// (130 for SIGINT, 143 for SIGTERM).
int interruptedExitStatus(int signal);

// SIGINT and SIGTERM held back (sigprocmask) from construction to destruction, while one run's
// records go to the five files: a signal arriving then is delivered once all are written.
struct DeferredInterruptions {
  sigset_t previous;
  DeferredInterruptions();
  ~DeferredInterruptions();
  DeferredInterruptions(const DeferredInterruptions&) = delete;
  DeferredInterruptions& operator=(const DeferredInterruptions&) = delete;
};

}  // namespace jobshop
