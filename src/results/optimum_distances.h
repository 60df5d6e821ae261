// Distances between recorded optima, computed from their machine sequences: the number of
// (machine, position) cells whose jobs differ, and the average over all pairs.
#pragma once

#include <optional>
#include <vector>

#include "results/result_records.h"

namespace jobshop {

// Cells in which the two machine-sequence rows differ (cells beyond the shorter row count too).
int sequenceDistance(const std::vector<int>& a, const std::vector<int>& b);

// Symmetric matrix of sequenceDistance between every two solutions, zero on the diagonal.
std::vector<std::vector<int>> distanceMatrix(const std::vector<RecordedSolution>& solutions);

// The average distance as the run wrote it: twice the sum over pairs divided by n(n-1), held as a
// 32-bit float; empty for fewer than two solutions.
std::optional<float> averagePairDistance(const std::vector<std::vector<int>>& matrix);

}  // namespace jobshop
