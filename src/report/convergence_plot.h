// The convergence chart over all runs as inline SVG: the best makespan against the generation, one
// step line per run, with the target as a horizontal line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "results/result_records.h"

namespace jobshop {

// The convergence plot draws at most this many runs, so that the page stays small.
inline constexpr std::size_t kPlottedRuns = 500;

// An <svg class="convergence"> with one <path class="series"> per run (of the first kPlottedRuns)
// that has a progress record (coloured by seriesColour of the run's position). A run with a
// record runs on to its recorded last generation, where a <line class="series-end"> marks it; a
// run without one stops at its last improvement, marked by a <circle class="unknown-end">. Runs
// ending at one place share one mark, with a <text class="end-count">. The y range is that of
// convergenceRange, with an "axis-break" when it cuts values off; the target has a bold y tick
// and a thin <line class="target over"> drawn over the runs' lines. The generation axis is
// logarithmic (the svg also has class "log") when the longest run is far longer than the median.
std::string convergencePlot(const std::vector<RunRecord>& runs, int targetMakespan);

// The sentence under the plot's heading: how the lines end, what the axis scale is and, given the
// target, which makespans the y range cuts off.
std::string convergenceNote(const std::vector<RunRecord>& runs,
                            std::optional<int> targetMakespan = std::nullopt);

// An HTML legend naming each run's colour in the convergence plot; empty for very many runs,
// where a legend would be unreadable.
std::string runLegend(const std::vector<RunRecord>& runs);

}  // namespace jobshop
