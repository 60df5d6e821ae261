// Deterministic crowding as a niching scheme: the population shuffled into pairs of parents, and
// each child set against the parent it is nearer to, replacing it only when strictly better.
#pragma once

#include <vector>

#include "model/population.h"
#include "model/run_state.h"
#include "model/sequence_table.h"
#include "niching/makespan_order.h"

namespace jobshop {

struct DeterministicCrowdingScratch {
  std::vector<int> shuffled;  // the population's positions as selection paired them
  Population working;         // the next population, written while the pairs are settled
  SequenceTable workingSequences;
  MakespanOrder order;
};

// Shuffles the positions 0..N-1 (for i = N-1 down to 1, j = randomBelow(i+1), swap i and j) into
// scratch.shuffled and puts pair k, shuffled positions 2k and 2k+1, in mating pool rows k and
// N/2+k. Asks stop before each pair and returns false as soon as it answers yes (the pool is then
// partly written).
template <class Random, class Stop>
bool selectShuffledPairs(RunState& state, Random& random, Stop& stop,
                         DeterministicCrowdingScratch& scratch);

// Settles pair k's children (offspring rows 2k and 2k+1) against its parents (positions
// scratch.shuffled[2k] and [2k+1]): the children go with the parents the way that makes the sum of
// the two schedule distances smaller (the first child with the first parent on a tie), and a child
// takes its parent's place only with a strictly smaller makespan. The population is then put in
// makespan order. Draws nothing; asks stop before each pair and, once it answers yes, returns
// false with state.population and state.populationSequences as they were.
template <class Stop>
bool replaceNearerParents(RunState& state, Stop& stop, DeterministicCrowdingScratch& scratch);

struct DeterministicCrowdingScheme {
  DeterministicCrowdingScratch scratch;

  template <class Random, class Stop>
  bool select(RunState& state, Random& random, Stop& stop) {
    return selectShuffledPairs(state, random, stop, scratch);
  }
  template <class Random, class Stop>
  bool replace(RunState& state, Random& /*random*/, Stop& stop) {
    return replaceNearerParents(state, stop, scratch);
  }
};

}  // namespace jobshop
