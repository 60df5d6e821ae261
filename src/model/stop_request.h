// A request to stop that the steps of a generation look at every so often, so that a generation
// too long to wait for (a huge mateCandidates, population or instance) can be abandoned.
#pragma once

#include <csignal>
#include <cstdint>

namespace jobshop {

struct StopRequest {
  // Nonzero once a stop is asked (the SIGINT/SIGTERM handler sets it); never read when null.
  const volatile std::sig_atomic_t* flag = nullptr;
  // How many more checks answer "go on" whatever the flag holds, after which every check answers
  // "stop"; negative for no such limit. It lets a test stop a generation at an exact point.
  std::int64_t checksBeforeStop = -1;

  bool requested() {
    if (checksBeforeStop == 0) return true;
    if (checksBeforeStop > 0) --checksBeforeStop;
    return flag != nullptr && *flag != 0;
  }
};

}  // namespace jobshop
