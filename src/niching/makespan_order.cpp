// Stable makespan order and the write-back of a chosen list of individuals.
#include "niching/makespan_order.h"

#include "model/fitness_sort.h"

namespace jobshop {

const std::vector<int>& sortedByMakespan(const Population& population, int n,
                                         MakespanOrder& scratch) {
  scratch.order.resize(static_cast<std::size_t>(n));
  scratch.keys.resize(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    scratch.order[static_cast<std::size_t>(k)] = k;
    scratch.keys[static_cast<std::size_t>(k)] = population.fitness(k);
  }
  sortByFitness(scratch.order.data(), scratch.keys.data(), n);
  return scratch.order;
}

void installRows(RunState& state, const Population& source, const SequenceTable& sourceSequences,
                 const std::vector<int>& rows) {
  for (int to = 0; to < state.population.size; ++to) {
    const int from = rows[static_cast<std::size_t>(to)];
    copyIndividual(source, from, state.population, to);
    copySequenceRow(sourceSequences, from, state.populationSequences, to);
  }
}

void copyToMatingPool(RunState& state, int position, int row) {
  copyIndividual(state.population, position, state.matingPool, row);
  copySequenceRow(state.populationSequences, position, state.matingPoolSequences, row);
}

}  // namespace jobshop
