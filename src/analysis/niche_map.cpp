#include "analysis/niche_map.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <random>
#include <set>

#include "results/optimum_distances.h"

namespace jobshop {

namespace {

// Fixed, so that the sample shown is the same at every report of a folder.
constexpr std::uint64_t kSampleSeed = 0x6d6170;

// The listed schedules that no run recorded, in the list's order.
std::vector<const std::vector<int>*> unfoundListed(const OptimumUnion& optima,
                                                   const std::optional<OptimaCoverage>& coverage) {
  std::vector<const std::vector<int>*> unfound;
  if (!coverage || !coverage->listed) return unfound;
  std::set<std::vector<int>> found;
  for (const SharedOptimum& optimum : optima.schedules) found.insert(optimum.sequences);
  for (const std::vector<int>& listed : coverage->enumeration.schedules) {
    if (!found.contains(listed)) unfound.push_back(&listed);
  }
  return unfound;
}

// `wanted` of the indices 0..population-1, uniformly, in ascending order.
std::vector<std::size_t> uniformSample(std::size_t population, std::size_t wanted,
                                       std::mt19937_64& random) {
  std::vector<std::size_t> all(population);
  for (std::size_t i = 0; i < population; ++i) all[i] = i;
  std::vector<std::size_t> chosen;
  chosen.reserve(wanted);
  std::sample(all.begin(), all.end(), std::back_inserter(chosen), wanted, random);
  return chosen;
}

std::vector<std::vector<double>> distancesBetween(const std::vector<const std::vector<int>*>& s) {
  std::vector<std::vector<double>> distances(s.size(), std::vector<double>(s.size(), 0.0));
  for (std::size_t i = 0; i < s.size(); ++i) {
    for (std::size_t j = i + 1; j < s.size(); ++j) {
      distances[i][j] = distances[j][i] = sequenceDistance(*s[i], *s[j]);
    }
  }
  return distances;
}

}  // namespace

NicheMap nicheMap(const OptimumUnion& optima, const std::optional<OptimaCoverage>& coverage) {
  NicheMap map;
  const std::vector<const std::vector<int>*> unfound = unfoundListed(optima, coverage);
  map.unfoundTotal = unfound.size();
  const std::size_t foundCount = optima.schedules.size();
  map.sampled = foundCount + unfound.size() > kMapPoints;
  std::mt19937_64 random(kSampleSeed);
  std::vector<std::size_t> foundShown(foundCount);
  for (std::size_t i = 0; i < foundCount; ++i) foundShown[i] = i;
  if (foundCount > kMapPoints) foundShown = uniformSample(foundCount, kMapPoints, random);
  std::vector<std::size_t> unfoundShown;
  const std::size_t room = kMapPoints - foundShown.size();
  if (unfound.size() > room) {
    unfoundShown = uniformSample(unfound.size(), room, random);
  } else {
    for (std::size_t i = 0; i < unfound.size(); ++i) unfoundShown.push_back(i);
  }
  std::vector<const std::vector<int>*> shown;
  shown.reserve(foundShown.size() + unfoundShown.size());
  for (std::size_t i : foundShown) shown.push_back(&optima.schedules[i].sequences);
  for (std::size_t i : unfoundShown) shown.push_back(unfound[i]);
  const ScaledPoints scaled = classicalScaling(distancesBetween(shown));
  map.axisShare = scaled.axisShare;
  map.found.assign(foundCount, std::nullopt);
  for (std::size_t k = 0; k < foundShown.size(); ++k) map.found[foundShown[k]] = scaled.points[k];
  for (std::size_t k = 0; k < unfoundShown.size(); ++k) {
    map.unfoundListed.push_back(*unfound[unfoundShown[k]]);
    map.unfoundPoints.push_back(scaled.points[foundShown.size() + k]);
  }
  return map;
}

}  // namespace jobshop
