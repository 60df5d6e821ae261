// The signal handlers of the main run and the holding back of signals around record writes.
#include "support/interruption.h"

#include <signal.h>

namespace jobshop {

namespace {

// The one program-wide value: a signal handler can reach nothing else. Written only by the
// handler, read by the run driver between generations.
volatile std::sig_atomic_t interruption = 0;

extern "C" void onInterruption(int signal) {
  if (interruption != 0) {
    // Asked twice: stop now. Records are whole anyway, since they are written with both signals
    // held back; the raised signal is delivered as soon as this handler returns.
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(signal, &defaultAction, nullptr);
    raise(signal);
    return;
  }
  interruption = signal;
}

sigset_t interruptionSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

}  // namespace

void installInterruptionHandlers() {
  struct sigaction action {};
  action.sa_handler = onInterruption;
  // Both signals are blocked while either handler runs, so a SIGTERM cannot cut into a SIGINT's
  // handler; SA_RESTART keeps a write that a signal interrupts going.
  action.sa_mask = interruptionSignals();
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

const volatile std::sig_atomic_t& interruptionFlag() { return interruption; }

int interruptedExitStatus(int signal) { return 128 + signal; }

DeferredInterruptions::DeferredInterruptions() {
  const sigset_t signals = interruptionSignals();
  sigprocmask(SIG_BLOCK, &signals, &previous);
}

DeferredInterruptions::~DeferredInterruptions() { sigprocmask(SIG_SETMASK, &previous, nullptr); }

}  // namespace jobshop
