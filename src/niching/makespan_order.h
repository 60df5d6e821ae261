// The population as every scheme leaves it: in ascending makespan, equal makespans in the order
// the scheme gives them, with each individual's machine sequences in the row of its position.
// Position 0 is what the run reads as its best, and the final analysis takes the leading equals
// of the best as the optima, so no scheme may leave a better schedule behind a worse one.
#pragma once

#include <vector>

#include "model/population.h"
#include "model/run_state.h"
#include "model/sequence_table.h"

namespace jobshop {

struct MakespanOrder {
  std::vector<int> order;
  std::vector<float> keys;
};

// The rows 0..n-1 of `population` in ascending makespan, equal makespans in row order.
const std::vector<int>& sortedByMakespan(const Population& population, int n,
                                         MakespanOrder& scratch);

// state.population := rows[0], rows[1], ... of source, with their rows of sourceSequences, for the
// first state.population.size entries of rows. source must not be state.population itself.
void installRows(RunState& state, const Population& source, const SequenceTable& sourceSequences,
                 const std::vector<int>& rows);

// Copies individual `position` of the population, with its machine sequences, to row `row` of
// the mating pool.
void copyToMatingPool(RunState& state, int position, int row);

}  // namespace jobshop
