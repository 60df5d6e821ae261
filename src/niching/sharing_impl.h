// Tournament selection on shared fitness.
// Only the files that instantiate these templates include this header: the program's own in
// sharing.cpp and the tests' for their scripted draws.
#pragma once

#include "niching/binary_tournament.h"
#include "niching/sharing.h"

namespace jobshop {

template <class Random, class Stop>
bool selectBySharedFitness(RunState& state, Random& random, Stop& stop, SharedFitness& shared) {
  const int n = state.population.size;
  const NichingSettings& settings = state.parameters.niching;
  const int sigma = sharingRadiusFor(settings, state.population.geneCount);
  startNicheCounts(n, shared);
  for (int i = 0; i < n; ++i) {
    if (stop.stopRequested()) return false;
    addSharesOf(i, state.populationSequences, n, sigma, settings.sharingAlpha, shared);
  }
  finishSharedFitness(state.population, n, shared);
  const std::vector<double>& fitness = shared.values;
  const auto fitter = [&fitness](int a, int b) {
    return fitness[static_cast<std::size_t>(a)] > fitness[static_cast<std::size_t>(b)];
  };
  for (int row = 0; row < n; ++row) {
    if (stop.stopRequested()) return false;
    copyToMatingPool(state, binaryTournament(n, random, fitter), row);
  }
  return true;
}

}  // namespace jobshop
