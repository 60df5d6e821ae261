// How far apart the schedules lie, counted in cells whose jobs differ: among the schedules the runs
// found, among all listed ones, and from each listed schedule no run found to the nearest found
// one. Set side by side they tell whether the runs' optima spread like all optima or cluster.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "analysis/optima_coverage.h"
#include "analysis/optimum_union.h"

namespace jobshop {

// Past this many pairs, a uniform sample of this many pairs is counted.
inline constexpr std::size_t kCountedPairs = 100000;
// Past this many distances from the unfound listed schedules to the found ones, a uniform sample
// of the unfound ones is counted, as many as this many distances allow (at least one).
inline constexpr std::size_t kNearestComparisons = 5'000'000;

struct DistanceHistogram {
  std::vector<std::size_t> pairs;  // pairs[d]: how many pairs (or schedules) at distance d
  std::size_t total = 0;
  bool sampled = false;  // pairs, or for nearestFound the schedules, are a sample
};

struct DistanceHistograms {
  DistanceHistogram found;                  // pairwise among the found schedules
  std::optional<DistanceHistogram> listed;  // pairwise among the listed ones (or a sample)
  std::optional<DistanceHistogram>
      nearestFound;  // each unfound listed schedule to its nearest found
  // distributionGap(found, *listed): whether the runs' schedules spread like all listed ones.
  std::optional<double> foundListedGap;
};

// pairs runs up to the largest distance counted (empty when nothing was). listed is present with a
// list of at least two schedules, nearestFound with a list and at least one found schedule. Samples
// (pairs drawn uniformly, with replacement) come from a fixed seed.
DistanceHistograms distanceHistograms(const OptimumUnion& optima,
                                      const std::optional<OptimaCoverage>& coverage);

// The two-sample Kolmogorov-Smirnov distance of two histograms: the largest gap between their
// empirical cumulative shares, 0 for the same shares at every distance, 1 for no overlap at all.
// Medians alone miss a histogram with two peaks around the other's one. nullopt when either is
// empty.
std::optional<double> distributionGap(const DistanceHistogram& first,
                                      const DistanceHistogram& second);

// The distance below which half the counted pairs lie (the lower median); nullopt when empty.
std::optional<int> medianDistance(const DistanceHistogram& histogram);

}  // namespace jobshop
