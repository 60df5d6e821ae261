// The stop signals of a process that runs children: SIGINT, SIGTERM and SIGCHLD held back while
// it lives and taken only when it waits, so that a stop can never slip in between a look at the
// flag and a blocking wait.
#pragma once

#include <signal.h>

namespace jobshop {

// The previous mask and SIGCHLD action come back when it ends.
struct StopSignals {
  sigset_t held{}, previousMask{};
  struct sigaction previousChild {};
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Waits for a child to end, a stop or a second to pass; the stop's signal, or 0.
  int waitForEvent() const;

  // The stop signal waiting to be taken (SIGINT before SIGTERM), without waiting; 0 when none.
  // A member although it reads no member: a stop waits only while this object holds the stop
  // signals blocked.
  int pendingStop() const;
};

}  // namespace jobshop
