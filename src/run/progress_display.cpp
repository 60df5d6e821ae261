// Drawing the progress line with a carriage return and an erase-line sequence.
#include "run/progress_display.h"

#include <unistd.h>

namespace jobshop {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(250);

}  // namespace

ProgressDisplay terminalProgressDisplay(bool quiet) {
  ProgressDisplay display;
  display.enabled = !quiet && isatty(fileno(stderr)) == 1;
  display.started = std::chrono::steady_clock::now();
  return display;
}

void showProgress(ProgressDisplay& display, int run, int runs, std::int64_t evaluations, int budget,
                  float best) {
  if (!display.enabled) return;
  const auto now = std::chrono::steady_clock::now();
  if (display.drawn && now - display.lastDrawn < kRedrawInterval) return;
  display.lastDrawn = now;
  display.drawn = true;
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(now - display.started).count();
  std::fprintf(display.stream,
               "\r\033[Kejecución %d de %d | evaluaciones %lld de %d | mejor %.1f | %lld:%02lld",
               run, runs, static_cast<long long>(evaluations), budget, static_cast<double>(best),
               static_cast<long long>(seconds / 60), static_cast<long long>(seconds % 60));
  std::fflush(display.stream);
}

void clearProgress(ProgressDisplay& display) {
  if (!display.enabled || !display.drawn) return;
  std::fputs("\r\033[K", display.stream);
  std::fflush(display.stream);
  display.drawn = false;
}

}  // namespace jobshop
