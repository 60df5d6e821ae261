// The matrix of distances between the optima of one run, as an HTML table folded under a summary:
// rows and columns ordered so that close optima sit together, shaded on a sequential scale with
// its legend.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace jobshop {

// Up to this many optima the matrix starts open with every distance written in its cell; past it
// the matrix would fill more than a screen, so it starts folded and its cells are small squares
// that give their distance as a tooltip.
inline constexpr std::size_t kNumberedMatrixSide = 30;

// How many shades the scale has.
inline constexpr int kDistanceSteps = 7;

// The shade of a distance on a scale from 0 (step 0, lightest) to top (step kDistanceSteps - 1,
// darkest): round((kDistanceSteps - 1) * distance / top), 0 when top is 0. A cell of step k has
// class "hk", which the page's style colours on a light-yellow to dark-blue ramp.
int distanceStep(int distance, int top);

// A <details class="distances"> (open up to kNumberedMatrixSide optima) whose <summary> is summary,
// then note (markup), a legend of the scale (class "scale-legend", from 0 to the largest distance
// in the matrix, each step titled with the distances it shades) and a square table of the
// distances. Rows and columns follow averageLinkageOrder(matrix), each labelled with its optimum's
// number (its row in matrix, from 1), so that clusters show as dark-edged light blocks on the
// diagonal and an optimum is still found by its number.
std::string distanceTable(const std::vector<std::vector<int>>& matrix, const std::string& summary,
                          const std::string& note);

}  // namespace jobshop
