// The children in makespan order, behind the previous best when it beats them all.
#include "niching/generational_replacement.h"

namespace jobshop {

void replaceGenerationally(RunState& state, MakespanOrder& scratch) {
  const Population& offspring = state.offspring;
  const int n = state.population.size;
  const std::vector<int>& order = sortedByMakespan(offspring, n, scratch);
  // The best stays where it is, so nothing has to be set aside before the children are written.
  int to = state.population.fitness(0) < offspring.fitness(order[0]) ? 1 : 0;
  for (int r = 0; to < n; ++r, ++to) {
    const int from = order[static_cast<std::size_t>(r)];
    copyIndividual(offspring, from, state.population, to);
    copySequenceRow(state.offspringSequences, from, state.populationSequences, to);
  }
}

}  // namespace jobshop
