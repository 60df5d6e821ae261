// The signals held back, and taken by sigtimedwait.
#include "campaigns/stop_signals.h"

#include <ctime>
#include <initializer_list>

namespace jobshop {

StopSignals::StopSignals() {
  sigemptyset(&held);
  for (int signal : {SIGINT, SIGTERM, SIGCHLD}) sigaddset(&held, signal);
  // An inherited "ignore" would have the kernel reap the children before the runner sees them.
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  sigaction(SIGCHLD, &byDefault, &previousChild);
  sigprocmask(SIG_BLOCK, &held, &previousMask);
}

StopSignals::~StopSignals() {
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGTERM);
  // A stop that came after the children had ended is taken here: unblocked, it would end the
  // program before it reports.
  const timespec now{0, 0};
  while (sigtimedwait(&stops, nullptr, &now) > 0) {
  }
  sigprocmask(SIG_SETMASK, &previousMask, nullptr);
  sigaction(SIGCHLD, &previousChild, nullptr);
}

int StopSignals::waitForEvent() const {
  const timespec second{1, 0};
  const int signal = sigtimedwait(&held, nullptr, &second);
  return signal == SIGINT || signal == SIGTERM ? signal : 0;
}

// NOLINTNEXTLINE(readability-convert-member-functions-to-static): see the header
int StopSignals::pendingStop() const {
  sigset_t pending;
  sigpending(&pending);
  if (sigismember(&pending, SIGINT) == 1) return SIGINT;
  return sigismember(&pending, SIGTERM) == 1 ? SIGTERM : 0;
}

}  // namespace jobshop
