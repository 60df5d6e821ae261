// The progress display of the main run: one line on standard error, redrawn in place a few times
// a second, only when standard error is a terminal, so that files and pipes never see it.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace jobshop {

struct ProgressDisplay {
  bool enabled = false;
  std::FILE* stream = stderr;
  std::chrono::steady_clock::time_point started;
  std::chrono::steady_clock::time_point lastDrawn;
  bool drawn = false;
};

// A display on standard error when it is a terminal and `quiet` is not set; otherwise one that
// draws nothing.
ProgressDisplay terminalProgressDisplay(bool quiet);

// Redraws the line (run k of R, evaluations spent of the budget, best makespan, elapsed time) if
// the last drawing is old enough; cheap enough to call once per generation.
void showProgress(ProgressDisplay& display, int run, int runs, std::int64_t evaluations, int budget,
                  float best);

// Clears the line, so that whatever the terminal shows next starts on a clean line.
void clearProgress(ProgressDisplay& display);

}  // namespace jobshop
