// The control without niching: parents by binary tournament on makespan, children replacing the
// population generationally with the best schedule kept.
#pragma once

#include "model/run_state.h"
#include "niching/generational_replacement.h"
#include "niching/makespan_order.h"

namespace jobshop {

// Fills mating pool rows 0..N-1 in order, each with the winner of a binary tournament on makespan
// (the smaller wins; the first drawn on a tie): two draws randomBelow(N) per row. Asks stop before
// each row and returns false as soon as it answers yes (the pool is then partly written).
template <class Random, class Stop>
bool selectByMakespanTournament(RunState& state, Random& random, Stop& stop);

struct NoNichingScheme {
  MakespanOrder order;

  template <class Random, class Stop>
  bool select(RunState& state, Random& random, Stop& stop) {
    return selectByMakespanTournament(state, random, stop);
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
