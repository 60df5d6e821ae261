// The two schedules of a run that lie farthest apart, among all of them or a sample.
#include "analysis/farthest_pair.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <random>

#include "results/optimum_distances.h"

namespace jobshop {

namespace {

// Fixed, so that the pair drawn is the same at every report of a folder.
constexpr std::uint64_t kPairSampleSeed = 0x66617274;

std::vector<std::size_t> usableIndices(const std::vector<RecordedSolution>& solutions,
                                       const std::vector<bool>& usable) {
  std::vector<std::size_t> indices;
  for (std::size_t k = 0; k < solutions.size(); ++k)
    if (k < usable.size() && usable[k]) indices.push_back(k);
  return indices;
}

// A uniform sample of `wanted` of the indices, in ascending order.
std::vector<std::size_t> sampleOf(const std::vector<std::size_t>& indices, std::size_t wanted) {
  std::mt19937_64 random(kPairSampleSeed);
  std::vector<std::size_t> chosen;
  chosen.reserve(wanted);
  std::sample(indices.begin(), indices.end(), std::back_inserter(chosen), wanted, random);
  return chosen;
}

}  // namespace

std::size_t comparedSchedules(std::size_t cells) {
  // n(n - 1)/2 pairs of `cells` cells each within kFarthestPairCells: n about sqrt(2 budget/cells).
  const double fitting =
      std::sqrt(2.0 * kFarthestPairCells / std::max(1.0, static_cast<double>(cells)));
  return std::clamp<std::size_t>(static_cast<std::size_t>(fitting), 2, kFarthestPairSchedules);
}

FarthestPair farthestPair(const std::vector<RecordedSolution>& solutions,
                          const std::vector<bool>& usable) {
  FarthestPair pair;
  std::vector<std::size_t> compared = usableIndices(solutions, usable);
  pair.usableCount = compared.size();
  const std::size_t cells = solutions.empty() ? 0 : solutions.front().sequences.size();
  if (const std::size_t wanted = comparedSchedules(cells); compared.size() > wanted) {
    compared = sampleOf(compared, wanted);
    pair.sample = compared.size();
  }
  for (std::size_t a = 0; a < compared.size(); ++a) {
    for (std::size_t b = a + 1; b < compared.size(); ++b) {
      const int distance =
          sequenceDistance(solutions[compared[a]].sequences, solutions[compared[b]].sequences);
      if (distance > pair.distance) {
        pair = {compared[a], compared[b], distance, pair.sample, pair.usableCount};
      }
    }
  }
  return pair;
}

}  // namespace jobshop
