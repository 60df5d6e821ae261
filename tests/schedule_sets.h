// Small sets of schedules for the tests of the map, the distance histograms and the clustering:
// the union of the runs' schedules, a complete list, and distances of points on a line.
#pragma once

#include <cstdlib>
#include <vector>

#include "analysis/optima_coverage.h"
#include "analysis/optimum_union.h"
#include "results/result_records.h"

namespace jobshop {

// Each schedule of makespan 10, found by run 1 and first recorded on line 1.
inline OptimumUnion unionOf(const std::vector<std::vector<int>>& schedules) {
  OptimumUnion optima;
  for (const std::vector<int>& sequences : schedules)
    optima.schedules.push_back(SharedOptimum{sequences, 10, {1}, 1});
  return optima;
}

// Run 1 of makespan 10, holding each schedule at makespan 10, recorded on lines 1, 2, ...
inline RunRecord runHolding(const std::vector<std::vector<int>>& schedules) {
  RunRecord run;
  run.run = 1;
  run.best = 10;
  run.reachedTarget = true;
  int line = 0;
  for (const std::vector<int>& sequences : schedules)
    run.solutions.push_back({sequences, 10, ++line});
  return run;
}

// An enumeration that lists exactly these schedules.
inline OptimaCoverage listOf(const std::vector<std::vector<int>>& schedules) {
  OptimaCoverage coverage;
  coverage.listed = true;
  coverage.enumeration.schedules = {schedules.begin(), schedules.end()};
  return coverage;
}

// Points on a line: the distance is how far apart their positions are.
inline std::vector<std::vector<int>> onALine(const std::vector<int>& positions) {
  std::vector<std::vector<int>> matrix(positions.size(), std::vector<int>(positions.size()));
  for (std::size_t i = 0; i < positions.size(); ++i) {
    for (std::size_t j = 0; j < positions.size(); ++j)
      matrix[i][j] = std::abs(positions[i] - positions[j]);
  }
  return matrix;
}

}  // namespace jobshop
