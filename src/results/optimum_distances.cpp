// Distances between recorded optima, computed from their machine sequences: the number of
// (machine, position) cells whose jobs differ, and the average over all pairs.
#include "results/optimum_distances.h"

#include <algorithm>
#include <cstdint>

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

namespace {

std::int64_t pairsOf(std::size_t count) {
  const auto n = static_cast<std::int64_t>(count);
  return n * (n - 1) / 2;
}

// The pairs of n solutions that differ in cell c: all pairs but those that both lack it and those
// that hold the same job there. longest: the solutions by length, longest first, so that those
// holding cell c come first and a long row costs only its own cells.
std::int64_t differingPairsAt(const std::vector<const std::vector<int>*>& longest, std::size_t c,
                              std::vector<int>& jobs) {
  jobs.clear();
  for (const std::vector<int>* sequences : longest) {
    if (c >= sequences->size()) break;
    jobs.push_back((*sequences)[c]);
  }
  std::sort(jobs.begin(), jobs.end());
  std::int64_t same = 0;
  for (std::size_t k = 0; k < jobs.size();) {
    std::size_t end = k;
    while (end < jobs.size() && jobs[end] == jobs[k]) ++end;
    same += pairsOf(end - k);
    k = end;
  }
  return pairsOf(longest.size()) - pairsOf(longest.size() - jobs.size()) - same;
}

}  // namespace

std::optional<float> averagePairDistance(const std::vector<RecordedSolution>& solutions) {
  const std::size_t n = solutions.size();
  if (n < 2) return std::nullopt;
  std::vector<const std::vector<int>*> longest;
  longest.reserve(n);
  for (const RecordedSolution& solution : solutions) longest.push_back(&solution.sequences);
  std::stable_sort(longest.begin(), longest.end(),
                   [](const auto* a, const auto* b) { return a->size() > b->size(); });
  long long total = 0;
  std::vector<int> jobs;
  jobs.reserve(n);
  for (std::size_t c = 0; c < longest.front()->size(); ++c)
    total += differingPairsAt(longest, c, jobs);
  const double pairs = static_cast<double>(n) * static_cast<double>(n - 1);
  return static_cast<float>(2.0 * static_cast<double>(total) / pairs);
}

}  // namespace jobshop
