// The matrix of distances between the optima of one run, as an HTML table folded under a summary,
// shaded on a sequential scale with its legend.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace jobshop {

// Past this many optima the matrix starts folded: it would fill more than a screen.
inline constexpr std::size_t kOpenMatrixSide = 20;

// The colour of a distance on a scale from 0 (lightest) to top (darkest): one of the seven steps
// of a light-to-dark blue ramp, "#rrggbb".
std::string distanceShade(int distance, int top);

// A <details class="distances"> (open up to kOpenMatrixSide optima) whose <summary> is summary,
// then note (markup), a legend of the scale (class "scale-legend", from 0 to the largest distance
// in the matrix) and a square table of the distances, optima numbered from 1.
std::string distanceTable(const std::vector<std::vector<int>>& matrix, const std::string& summary,
                          const std::string& note);

}  // namespace jobshop
