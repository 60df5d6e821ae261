// What the charts share: round tick values for an axis, the room a label takes, and the colours of
// jobs and of runs.
#pragma once

#include <string>
#include <vector>

namespace jobshop {

// Tick values between low and high (inclusive) at a step of 1, 2 or 5 times a power of ten,
// chosen so that there are at most maxTicks of them; empty when high < low.
std::vector<double> niceTicks(double low, double high, int maxTicks);

// A tick value as a label: whole numbers without decimals and with thousands separators.
std::string tickLabel(double value);

// The size of the style sheet's chart labels (svg .tick), and the widest a character of the page's
// face draws at one pixel of font size (digits are 0.64 em in DejaVu Sans; most letters less).
inline constexpr double kTickFontSize = 12.0;
inline constexpr double kCharacterAdvance = 0.64;

// The room text needs at fontSize, counted in characters rather than bytes so that "–" and "·"
// take one, at the widest advance, so that it is never less than what the browser draws.
double textWidth(const std::string& text, double fontSize = kTickFontSize);

// Fill colour of job (1-based) in the Gantt charts, "#rrggbb": twenty colours clearly unlike each
// other and unlike the pale idle lanes; job 21 takes job 1's colour again, and so on.
std::string jobColour(int job);

// True for a "#rrggbb" colour on which dark text would be hard to read.
bool isDarkColour(const std::string& colour);

// How many jobs jobColour tells apart by colour alone.
inline constexpr int kDistinctJobColours = 20;

// Stroke colour of the index-th (0-based) series of a plot, "#rrggbb", darker than job colours;
// the first twelve are fixed and clearly unlike each other.
std::string seriesColour(int index);

}  // namespace jobshop
