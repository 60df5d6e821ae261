// What a run looked like after each generation, for the measures taken over the whole run rather
// than only at its end. Kept without drawing from the run's random source.
#pragma once

#include <cstdint>
#include <vector>

namespace jobshop {

struct GenerationTrace {
  int generation = 0;            // 0 for the initial population
  std::int64_t evaluations = 0;  // spent by the end of this generation
  float best = 0.0f;             // the best makespan of the population
  int distinct = 0;              // distinct schedules in the population
  int held = 0;                  // of those, at or below the target makespan
  int found = 0;                 // distinct schedules at or below the target seen so far
};

using RunTrace = std::vector<GenerationTrace>;

}  // namespace jobshop
