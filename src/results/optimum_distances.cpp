// Distances between recorded optima, computed from their machine sequences: the number of
// (machine, position) cells whose jobs differ, and the average over all pairs.
#include "results/optimum_distances.h"

#include <algorithm>

namespace jobshop {

int sequenceDistance(const std::vector<int>& a, const std::vector<int>& b) {
  const std::size_t common = std::min(a.size(), b.size());
  int differing = static_cast<int>(std::max(a.size(), b.size()) - common);
  for (std::size_t c = 0; c < common; ++c) {
    if (a[c] != b[c]) ++differing;
  }
  return differing;
}

std::vector<std::vector<int>> distanceMatrix(const std::vector<RecordedSolution>& solutions) {
  const std::size_t n = solutions.size();
  std::vector<std::vector<int>> matrix(n, std::vector<int>(n, 0));
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      matrix[i][j] = matrix[j][i] =
          sequenceDistance(solutions[i].sequences, solutions[j].sequences);
    }
  }
  return matrix;
}

std::optional<float> averagePairDistance(const std::vector<std::vector<int>>& matrix) {
  const std::size_t n = matrix.size();
  if (n < 2) return std::nullopt;
  long long total = 0;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) total += matrix[i][j];
  }
  const double pairs = static_cast<double>(n) * static_cast<double>(n - 1);
  return static_cast<float>(2.0 * static_cast<double>(total) / pairs);
}

}  // namespace jobshop
