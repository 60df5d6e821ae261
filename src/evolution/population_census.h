// The count a run's trace takes of its population after initialisation and after each completed
// generation: its distinct schedules, how many of them reach the target, and how many distinct
// schedules at the target the run has held at any time. It reads the machine sequences the
// population keeps decoded beside it and never draws from the run's random source.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "evolution/generation_trace.h"
#include "model/run_state.h"
#include "model/sequence_table.h"

namespace jobshop {

// The distinct schedules at or below the target a run has held so far, each kept whole so that a
// hash collision can never merge two of them.
struct FoundSchedules {
  int stride = 0;
  std::vector<std::uint8_t> rows;                      // back to back, stride bytes each
  std::unordered_multimap<std::uint64_t, int> byHash;  // row hash -> index in rows
};

struct PopulationCensus {
  FoundSchedules found;
  // Scratch of one count: each individual's row hash beside its index.
  std::vector<std::pair<std::uint64_t, int>> keyed;
};

// Forgets the schedules of the previous run.
void startCensus(PopulationCensus& census, const SequenceTable& sequences);

// The trace row of the population as it stands after `generation`.
GenerationTrace takeCensus(PopulationCensus& census, const RunState& state, int generation);

// A hash of one padded row of a sequence table; equal rows hash equal.
std::uint64_t sequenceRowHash(const std::uint8_t* row, int stride);

}  // namespace jobshop
