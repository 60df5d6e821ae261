// The convergence chart over all runs as inline SVG: the best makespan against the generation, one
// step line per run, with the target as a horizontal line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "report/result_records.h"

namespace jobshop {

// The convergence plot draws at most this many runs, so that the page stays small.
inline constexpr std::size_t kPlottedRuns = 500;

// An <svg class="convergence"> with one <path class="series"> per run (of the first kPlottedRuns)
// that has a progress record (coloured by seriesColour of the run's position), drawn on to the
// generation the run ended (recorded generations, else its last improvement) and closed by a <line
// class="series-end">, over a dashed line of class "target". The generation axis is logarithmic
// (the svg also has class "log") when the longest run is far longer than the median one.
std::string convergencePlot(const std::vector<RunRecord>& runs, int targetMakespan);

// The sentence under the plot's heading: how the lines end and what the axis scale is.
std::string convergenceNote(const std::vector<RunRecord>& runs);

// An HTML legend naming each run's colour in the convergence plot; empty for very many runs,
// where a legend would be unreadable.
std::string runLegend(const std::vector<RunRecord>& runs);

}  // namespace jobshop
