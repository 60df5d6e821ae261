// The two schedules of a run that lie farthest apart, which the page draws beside its first: every
// pair compared up to comparedSchedules usable schedules, past that the pairs of a uniform sample
// of that many, so that a run of tens of thousands of schedules costs no more than one of
// a few thousand.
#pragma once

#include <cstddef>
#include <vector>

#include "results/result_file_parsing.h"

namespace jobshop {

// Up to this many, about two million pairs: a few tenths of a second for schedules of a hundred
// cells. Longer schedules are compared in fewer pairs, so that the cells compared stay within
// kFarthestPairCells.
inline constexpr std::size_t kFarthestPairSchedules = 2000;
inline constexpr double kFarthestPairCells = 1e9;

// How many schedules of `cells` cells each have all their pairs compared: kFarthestPairSchedules,
// fewer for schedules so long that their pairs would pass kFarthestPairCells, never below two.
std::size_t comparedSchedules(std::size_t cells);

struct FarthestPair {
  std::size_t first = 0, second = 0;  // first < second, when distance >= 0
  int distance = -1;                  // -1: fewer than two usable schedules
  // How many usable schedules the sample held, or 0 when every pair was compared.
  std::size_t sample = 0;
  std::size_t usableCount = 0;  // how many schedules were usable
};

// Among the solutions that usable marks, the pair at the largest distance, the first such pair in
// the order (first, second). The sample, when there is one, comes from a fixed seed, so that the
// page is the same at every report of a folder.
FarthestPair farthestPair(const std::vector<RecordedSolution>& solutions,
                          const std::vector<bool>& usable);

}  // namespace jobshop
