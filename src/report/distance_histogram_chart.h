// One histogram of cell distances as inline SVG, small enough to stand beside the others.
#pragma once

#include <string>

#include "analysis/distance_histograms.h"

namespace jobshop {

// An <svg class="distance-histogram"> of the share of pairs (or schedules) at each distance, with
// one <g class="distance-bin"> per distance that has any, each with a <title>. The x axis runs from
// 0 to maxDistance, so that histograms drawn with the same maxDistance line up; the heading names
// what was counted, and the y axis is in percent, so that they compare whatever their totals.
std::string distanceHistogramChart(const DistanceHistogram& histogram, const std::string& heading,
                                   const std::string& counted, int maxDistance);

}  // namespace jobshop
