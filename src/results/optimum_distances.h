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

// The same from the solutions themselves, without the matrix: per cell, the pairs that hold two
// different jobs there (or a job and nothing), so that time and memory grow with the solutions
// rather than with their pairs; the sum, and so the value, is the matrix's exactly.
std::optional<float> averagePairDistance(const std::vector<RecordedSolution>& solutions);

}  // namespace jobshop
