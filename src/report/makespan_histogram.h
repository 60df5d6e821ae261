// The histogram of the runs' best makespans as inline SVG.
#pragma once

#include <string>
#include <vector>

#include "results/result_records.h"

namespace jobshop {

// An <svg class="histogram"> with one <g class="bin"> per makespan value (or per range, when the
// values are spread wide); runs that reached the target are counted in a separate colour. The
// axis is in makespans, with ticks at round values, and spans at least a few values either side
// and the target; the <line class="target"> stands at the target's value.
std::string makespanHistogram(const std::vector<RunRecord>& runs, int targetMakespan);

}  // namespace jobshop
