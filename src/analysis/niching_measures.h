// How well one run's population covers the optimal schedules, from its trace: how many it holds
// at the end against how many exist (recall) and against how many distinct schedules it spends
// its places on (precision), how many it met on the way and kept, and how early it held them
// (dynamic F1). A run or a group of runs is then summarised by the mean and median of each.
#pragma once

#include <optional>
#include <vector>

#include "evolution/generation_trace.h"

namespace jobshop {

struct NichingMeasures {
  int held = 0;      // distinct schedules at or below the target in the final population
  int found = 0;     // distinct ones at or below the target seen during the run
  int distinct = 0;  // distinct schedules in the final population
  // Absent where a count is zero; recall, f1, foundRecall and dynamicF1 also without K.
  std::optional<double> recall;       // held / K
  std::optional<double> precision;    // held / distinct
  std::optional<double> f1;           // 2PR / (P + R), 0 when P + R = 0
  std::optional<double> foundRecall;  // found / K
  std::optional<double> retention;    // held / found
  std::optional<double> dynamicF1;    // F1 over the run, weighted by the evaluations it lasted
};

// The measures of a run from its trace (as recorded, a cut run's too) against K, the exact count
// of the schedules at or below the target when known. Nothing for an empty trace: a run made
// before the trace was kept. No dynamic F1 when the rows' evaluations ever fall.
std::optional<NichingMeasures> nichingMeasures(const RunTrace& trace,
                                               std::optional<double> exactCount);

// The K the measures take from an enumeration: its count when it is complete, it counted at
// exactly the target (so that it counts what a run's "held" counts) and it found any.
std::optional<double> exactCountFor(bool complete, int bound, int target, double count);

struct MeasureAverage {
  std::optional<double> mean, median;  // over the runs that have the measure
};

struct NichingAggregates {
  int traced = 0;    // runs with a trace, the ones averaged
  int untraced = 0;  // runs left out for having none
  MeasureAverage held, found, distinct, recall, precision, f1, foundRecall, retention, dynamicF1;
};

// The mean and median of each measure over runs (nullopt for a run without a trace).
NichingAggregates aggregateMeasures(const std::vector<std::optional<NichingMeasures>>& runs);

}  // namespace jobshop
