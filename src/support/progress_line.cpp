// Drawing the progress line with a carriage return and an erase-line sequence.
#include "support/progress_line.h"

#include <unistd.h>

namespace jobshop {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(250);
constexpr const char* kEraseLine = "\r\033[K";

}  // namespace

ProgressLine terminalProgressLine(bool quiet) {
  ProgressLine line;
  line.enabled = !quiet && isatty(fileno(stderr)) == 1;
  return line;
}

bool progressLineDue(const ProgressLine& line) {
  return line.enabled &&
         (!line.drawn || std::chrono::steady_clock::now() - line.lastDrawn >= kRedrawInterval);
}

void drawProgressLine(ProgressLine& line, const std::string& text) {
  if (!progressLineDue(line)) return;
  line.lastDrawn = std::chrono::steady_clock::now();
  line.drawn = true;
  std::fputs(kEraseLine, line.stream);
  std::fputs(text.c_str(), line.stream);
  std::fflush(line.stream);
}

void clearProgressLine(ProgressLine& line) {
  if (!line.enabled || !line.drawn) return;
  std::fputs(kEraseLine, line.stream);
  std::fflush(line.stream);
  line.drawn = false;
}

std::string elapsedText(const ProgressLine& line) {
  return elapsedText(
      std::chrono::duration<double>(std::chrono::steady_clock::now() - line.started).count());
}

std::string elapsedText(double seconds) {
  const long long total = seconds > 0 ? static_cast<long long>(seconds) : 0;
  char text[48];
  if (total >= 3600)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60,
                  total % 60);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
  return text;
}

}  // namespace jobshop
