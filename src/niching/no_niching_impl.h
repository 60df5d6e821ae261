// Tournament selection on makespan.
// Only the files that instantiate these templates include this header: the program's own in
// no_niching.cpp and the tests' for their scripted draws.
#pragma once

#include "niching/binary_tournament.h"
#include "niching/no_niching.h"

namespace jobshop {

template <class Random, class Stop>
bool selectByMakespanTournament(RunState& state, Random& random, Stop& stop) {
  const Population& population = state.population;
  const int n = population.size;
  const auto shorter = [&population](int a, int b) {
    return population.fitness(a) < population.fitness(b);
  };
  for (int row = 0; row < n; ++row) {
    if (stop.stopRequested()) return false;
    copyToMatingPool(state, binaryTournament(n, random, shorter), row);
  }
  return true;
}

}  // namespace jobshop
