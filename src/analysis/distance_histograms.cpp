#include "analysis/distance_histograms.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <random>
#include <set>

#include "results/optimum_distances.h"

namespace jobshop {

namespace {

// Fixed, so that a sampled histogram is the same at every report of a folder.
constexpr std::uint64_t kPairSeed = 0x70616972;
constexpr std::uint64_t kNearestSeed = 0x6e656172;

using Schedules = std::vector<const std::vector<int>*>;

void count(DistanceHistogram& histogram, int distance) {
  const auto d = static_cast<std::size_t>(distance);
  if (histogram.pairs.size() <= d) histogram.pairs.resize(d + 1, 0);
  ++histogram.pairs[d];
  ++histogram.total;
}

// Every pair, or past kCountedPairs a uniform sample of that many.
DistanceHistogram pairDistances(const Schedules& schedules) {
  DistanceHistogram histogram;
  const std::size_t n = schedules.size();
  if (n < 2) return histogram;
  if (n * (n - 1) / 2 <= kCountedPairs) {
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = i + 1; j < n; ++j)
        count(histogram, sequenceDistance(*schedules[i], *schedules[j]));
    }
    return histogram;
  }
  histogram.sampled = true;
  std::mt19937_64 random(kPairSeed);
  std::uniform_int_distribution<std::size_t> first(0, n - 1);
  std::uniform_int_distribution<std::size_t> second(0, n - 2);
  for (std::size_t k = 0; k < kCountedPairs; ++k) {
    const std::size_t i = first(random);
    std::size_t j = second(random);
    if (j >= i) ++j;
    count(histogram, sequenceDistance(*schedules[i], *schedules[j]));
  }
  return histogram;
}

// Up to kNearestComparisons distances every schedule of from is counted; past them a uniform
// sample of from, as many as that many distances allow, each against all of to.
std::vector<const std::vector<int>*> nearestSample(const Schedules& from, std::size_t toCount) {
  const std::size_t wanted =
      std::max<std::size_t>(1, kNearestComparisons / std::max<std::size_t>(toCount, 1));
  if (from.size() <= wanted) return from;
  std::mt19937_64 random(kNearestSeed);
  Schedules chosen;
  chosen.reserve(wanted);
  std::sample(from.begin(), from.end(), std::back_inserter(chosen), wanted, random);
  return chosen;
}

DistanceHistogram nearestDistances(const Schedules& from, const Schedules& to) {
  DistanceHistogram histogram;
  const Schedules counted = nearestSample(from, to.size());
  histogram.sampled = counted.size() < from.size();
  for (const std::vector<int>* schedule : counted) {
    int nearest = std::numeric_limits<int>::max();
    for (const std::vector<int>* other : to)
      nearest = std::min(nearest, sequenceDistance(*schedule, *other));
    count(histogram, nearest);
  }
  return histogram;
}

}  // namespace

DistanceHistograms distanceHistograms(const OptimumUnion& optima,
                                      const std::optional<OptimaCoverage>& coverage) {
  DistanceHistograms histograms;
  Schedules found;
  std::set<std::vector<int>> foundSet;
  for (const SharedOptimum& optimum : optima.schedules) {
    found.push_back(&optimum.sequences);
    foundSet.insert(optimum.sequences);
  }
  histograms.found = pairDistances(found);
  if (!coverage || !coverage->listed) return histograms;
  Schedules listed;
  Schedules unfound;
  for (const std::vector<int>& schedule : coverage->enumeration.schedules) {
    listed.push_back(&schedule);
    if (!foundSet.contains(schedule)) unfound.push_back(&schedule);
  }
  if (listed.size() >= 2) {
    histograms.listed = pairDistances(listed);
    histograms.foundListedGap = distributionGap(histograms.found, *histograms.listed);
  }
  if (!found.empty()) histograms.nearestFound = nearestDistances(unfound, found);
  return histograms;
}

std::optional<double> distributionGap(const DistanceHistogram& first,
                                      const DistanceHistogram& second) {
  if (first.total == 0 || second.total == 0) return std::nullopt;
  const std::size_t bins = std::max(first.pairs.size(), second.pairs.size());
  std::size_t firstSeen = 0;
  std::size_t secondSeen = 0;
  double gap = 0.0;
  for (std::size_t d = 0; d < bins; ++d) {
    firstSeen += d < first.pairs.size() ? first.pairs[d] : 0;
    secondSeen += d < second.pairs.size() ? second.pairs[d] : 0;
    const double firstShare = static_cast<double>(firstSeen) / static_cast<double>(first.total);
    const double secondShare = static_cast<double>(secondSeen) / static_cast<double>(second.total);
    gap = std::max(gap, std::abs(firstShare - secondShare));
  }
  return gap;
}

std::optional<int> medianDistance(const DistanceHistogram& histogram) {
  if (histogram.total == 0) return std::nullopt;
  std::size_t seen = 0;
  for (std::size_t d = 0; d < histogram.pairs.size(); ++d) {
    seen += histogram.pairs[d];
    if (2 * seen >= histogram.total) return static_cast<int>(d);
  }
  return std::nullopt;
}

}  // namespace jobshop
