// A progress line on standard error: drawn only when it is a terminal, so that files and pipes
// never see it, redrawn in place at most a few times a second, and cleared at the end so that
// whatever follows starts on a clean line.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace jobshop {

struct ProgressLine {
  bool enabled = false;
  std::FILE* stream = stderr;
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point lastDrawn;
  bool drawn = false;
};

// A line on standard error when it is a terminal and `quiet` is not set; otherwise one that draws
// nothing.
ProgressLine terminalProgressLine(bool quiet);

// True when a redraw would be shown now; lets a caller skip making the text.
bool progressLineDue(const ProgressLine& line);

// Replaces the line by text (one line, no newline) when a redraw is due.
void drawProgressLine(ProgressLine& line, const std::string& text);

// Clears the line if it was drawn.
void clearProgressLine(ProgressLine& line);

// Time since the line was made, as elapsedText shows it.
std::string elapsedText(const ProgressLine& line);

// Whole seconds as m:ss, or h:mm:ss from an hour on.
std::string elapsedText(double seconds);

}  // namespace jobshop
