// Figures drawn from the aligned runs: per run (improvements, last improving generation) and over
// all runs (best and median best, runs that reached the target, optima and distances).
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "results/result_records.h"

namespace jobshop {

struct RunFigures {
  int improvingGenerations = 0;     // progress lines after the initial one
  int lastImprovingGeneration = 0;  // 0 when the initial best was never improved
};

struct ReportSummary {
  int runs = 0;
  std::optional<double> bestMakespan;
  std::optional<double> medianBest;  // the mean of the two middle values for an even count
  int runsReachingTarget = 0;
  std::optional<int> fewestOptima;  // over the runs that reached the target
  std::optional<int> mostOptima;
  int totalOptima = 0;  // the runs' counts added up: a schedule found by two runs counts twice
  // Distinct over all runs: recorded solutions with the same machine orders counted once.
  std::optional<int> distinctOptimaOverall;
  std::optional<double> meanAverageDistance;  // over the runs that have an average distance
  int runsWithDistance = 0;
  int runsCut = 0;  // stopped by a signal before their budget was spent
};

RunFigures runFigures(const RunRecord& run);

// The figures of runs as given: the page passes countedRuns, so that copies count once.
// distinctOptima is how many distinct schedules those runs hold together.
ReportSummary summariseRuns(const std::vector<RunRecord>& runs, std::size_t distinctOptima);

}  // namespace jobshop
