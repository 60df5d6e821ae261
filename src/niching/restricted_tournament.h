// Restricted tournament selection as a niching scheme: parents drawn at random, and each child
// set against the member nearest to it of a random window, replacing it only when strictly better.
#pragma once

#include <vector>

#include "model/population.h"
#include "model/run_state.h"
#include "model/sequence_table.h"
#include "niching/makespan_order.h"

namespace jobshop {

struct RestrictedTournamentScratch {
  Population working;  // the next population, which the children enter one after another
  SequenceTable workingSequences;
  std::vector<int> window;
  std::vector<int> drawnMark;  // per position: the child that last drew it, plus one
  MakespanOrder order;
};

// Fills mating pool rows 0..N-1 in order with members drawn uniformly: one draw randomBelow(N) per
// row. Asks stop before each row and returns false as soon as it answers yes (the pool is then
// partly written).
template <class Random, class Stop>
bool selectUniformly(RunState& state, Random& random, Stop& stop);

// The window of a restricted tournament: windowSizeFor the settings, at most N (a larger one could
// never be drawn distinct) and at least 1.
int windowMembers(const NichingSettings& settings, int populationSize);

// Each child of state.offspring, in row order, draws windowMembers distinct positions of the
// working copy by rejection (randomBelow(N) each, a repeat drawn again), and replaces the member
// nearest to it (the first drawn among equals) only when its makespan is strictly smaller; the
// children placed before it are members like any other. The working copy then becomes the
// population in makespan order. Asks stop before each child and, once it answers yes, returns
// false with state.population and state.populationSequences as they were.
template <class Random, class Stop>
bool replaceInRestrictedTournaments(RunState& state, Random& random, Stop& stop,
                                    RestrictedTournamentScratch& scratch);

struct RestrictedTournamentScheme {
  RestrictedTournamentScratch scratch;

  template <class Random, class Stop>
  bool select(RunState& state, Random& random, Stop& stop) {
    return selectUniformly(state, random, stop);
  }
  template <class Random, class Stop>
  bool replace(RunState& state, Random& random, Stop& stop) {
    return replaceInRestrictedTournaments(state, random, stop, scratch);
  }
};

}  // namespace jobshop
