// Where the schedules lie relative to each other: every distinct schedule the runs recorded, and
// with a listed enumeration also the listed ones no run found, placed on a plane by classical
// scaling of their cell distances.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "analysis/classical_scaling.h"
#include "analysis/optima_coverage.h"
#include "analysis/optimum_union.h"

namespace jobshop {

// More points than this make the map unreadable and its scaling slow: beyond it a uniform sample
// is drawn.
inline constexpr std::size_t kMapPoints = 1000;

struct NicheMap {
  std::vector<std::optional<MapPoint>>
      found;  // per OptimumUnion::schedules (nullopt when left out)
  std::vector<std::vector<int>> unfoundListed;  // listed schedules no run found that are on the map
  std::vector<MapPoint> unfoundPoints;          // their points
  std::size_t unfoundTotal = 0;                 // how many listed schedules no run found
  bool sampled = false;  // more than kMapPoints points: a uniform sample is shown
  double axisShare = 0;  // share of the positive eigenvalue mass the two axes carry
};

// Every found schedule is kept when they alone are at most kMapPoints, and the unfound listed ones
// fill the rest as a uniform sample; past that, a uniform sample of the found ones alone. Samples
// come from a fixed seed, so that a folder's map is the same at every report.
NicheMap nicheMap(const OptimumUnion& optima, const std::optional<OptimaCoverage>& coverage);

}  // namespace jobshop
