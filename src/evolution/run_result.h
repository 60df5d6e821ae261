// What one run gives: its progress, its summary figures and the analysis of its final population,
// all computed before any file is opened, so that whatever the files do the figures are the same.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "evolution/generation_trace.h"

namespace jobshop {

// A new best makespan and the generation that found it (0 for the initial population).
struct Improvement {
  float best = 0.0f;
  int generation = 0;
};

// One distinct optimal schedule: its machine sequences (each job number as the files show it,
// machine after machine) and its makespan.
struct DistinctOptimum {
  std::vector<int> machineSequences;
  float makespan = 0.0f;
};

// The final population against the instance's target makespan.
struct FinalPopulationAnalysis {
  float bestMakespan = 0.0f;
  // Whether the best makespan is at or below the target; the rest is empty when it is not.
  bool reachedTarget = false;
  // The distinct optima, the first of each schedule in population order.
  std::vector<DistinctOptimum> distinctOptima;
  // The mean schedule distance over the pairs of distinct optima, present for two or more.
  std::optional<float> averageDistance;

  std::int64_t distinctCount() const { return static_cast<std::int64_t>(distinctOptima.size()); }
};

struct RunResult {
  int run = 0;  // 1-based within the execution
  // Every improvement of the best makespan, the initial one first.
  std::vector<Improvement> improvements;
  int generations = 0;
  std::int64_t evaluations = 0;
  std::optional<int> targetGeneration;  // first generation at or below the target; 0 = initial
  std::optional<std::int64_t> targetEvaluations;  // evaluations spent by the end of that one
  // A stop ended the run before its budget was spent.
  bool cut = false;
  // The stop came inside a generation, whose work was thrown away: the run closed with the
  // population (and the evaluation count) as they stood before it.
  bool abandonedGeneration = false;
  double seconds = 0.0;  // from the start of the run to the end of its analysis
  FinalPopulationAnalysis analysis;
  // One row for the initial population and one per completed generation.
  RunTrace trace;
};

}  // namespace jobshop
