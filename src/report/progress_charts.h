// The two charts over all runs as inline SVG: the best makespan against the generation, one step
// line per run with the target as a horizontal line, and a histogram of the runs' best makespans.
#pragma once

#include <string>
#include <vector>

#include "report/result_records.h"

// An <svg class="convergence"> with one <path class="series"> per run that has a progress record
// (coloured by seriesColour of the run's position), and a dashed line of class "target".
std::string convergencePlot(const std::vector<RunRecord>& runs, int targetMakespan);

// An HTML legend naming each run's colour in the convergence plot; empty for very many runs,
// where a legend would be unreadable.
std::string runLegend(const std::vector<RunRecord>& runs);

// An <svg class="histogram"> with one <g class="bin"> per makespan value (or per range, when the
// values are spread wide); runs that reached the target are counted in a separate colour.
std::string makespanHistogram(const std::vector<RunRecord>& runs, int targetMakespan);
