// Fitness sharing as a niching scheme: parents by binary tournament on shared fitness, children
// replacing the population generationally with the best schedule kept.
#pragma once

#include "model/run_state.h"
#include "niching/generational_replacement.h"
#include "niching/makespan_order.h"
#include "niching/shared_fitness.h"

namespace jobshop {

// Computes every member's shared fitness (sigma = sharingRadiusFor, alpha = sharingAlpha of
// state.parameters.niching), then fills mating pool rows 0..N-1 in order, each with the winner of
// a binary tournament on it (the larger wins; the first drawn on a tie): two draws randomBelow(N)
// per row. Asks stop before each member's niche count and each row, and returns false as soon as
// it answers yes (the pool is then partly written).
template <class Random, class Stop>
bool selectBySharedFitness(RunState& state, Random& random, Stop& stop, SharedFitness& shared);

struct SharingScheme {
  SharedFitness shared;
  MakespanOrder order;

  template <class Random, class Stop>
  bool select(RunState& state, Random& random, Stop& stop) {
    return selectBySharedFitness(state, random, stop, shared);
  }
  // Draws nothing; the one look at stop comes before anything is written.
  template <class Random, class Stop>
  bool replace(RunState& state, Random& /*random*/, Stop& stop) {
    if (stop.stopRequested()) return false;
    replaceGenerationally(state, order);
    return true;
  }
};

}  // namespace jobshop
