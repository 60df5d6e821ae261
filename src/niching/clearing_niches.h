// Clearing: in makespan order, each schedule not yet cleared wins a niche, and the schedules after
// it within the clearing radius, beyond the niche's capacity, are cleared.
#pragma once

#include <cstdint>
#include <vector>

#include "model/sequence_table.h"

namespace jobshop {

struct ClearedOrder {
  std::vector<std::uint8_t> cleared;  // per rank of the makespan order: 1 once cleared
  std::vector<int> order;             // the winners by makespan, then the cleared by makespan
};

// The clearing radius and niche capacity of the settings, the capacity at least 1 (the winner
// always keeps its place).
struct ClearingBounds {
  int radius = 1;
  int capacity = 1;
};

// Marks every rank as not cleared.
void startClearing(int count, ClearedOrder& cleared);

// When the schedule at rank `winner` of byMakespan (rows of sequences) is not cleared, it is a
// winner: of the later ranks not yet cleared within distance bounds.radius (d < radius), those
// beyond the first bounds.capacity - 1 are cleared.
void clearNicheOf(int winner, const std::vector<int>& byMakespan, const SequenceTable& sequences,
                  ClearingBounds bounds, ClearedOrder& cleared);

// cleared.order := the rows of byMakespan not cleared, in its order, then the cleared ones.
void orderByClearedFitness(const std::vector<int>& byMakespan, ClearedOrder& cleared);

}  // namespace jobshop
