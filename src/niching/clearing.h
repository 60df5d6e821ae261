// Clearing in its (mu+lambda) form as a niching scheme: parents by binary tournament on cleared
// fitness, and the next population the best of population and children by cleared fitness.
#pragma once

#include <cstdint>
#include <vector>

#include "model/population.h"
#include "model/run_state.h"
#include "model/sequence_table.h"
#include "niching/clearing_niches.h"
#include "niching/makespan_order.h"

namespace jobshop {

struct ClearingScratch {
  Population joined;  // the population's rows, then the children's
  SequenceTable joinedSequences;
  MakespanOrder order;
  ClearedOrder cleared;
  std::vector<std::uint8_t> keptMark;  // per row of joined: 1 when it is in the next population
  std::vector<int> kept;               // the rows of the next population, in makespan order
  std::vector<int> rankOfRow;          // per row of joined: its place in the cleared order
  // Per member of the population: its place in the cleared order, as the last replacement left
  // it (with the population it left, to recognise it) or as selection cleared it.
  std::vector<int> rank;
  std::vector<float> rankedValues;
};

// The radius and capacity of the settings for schedules of geneCount cells.
ClearingBounds clearingBounds(const NichingSettings& settings, int geneCount);

// Fills mating pool rows 0..N-1 in order, each with the winner of a binary tournament on the
// cleared order (the earlier wins): two draws randomBelow(N) per row. The order is the one the
// last replacement left when the population is still the one it left; otherwise (the first
// generation of a run) the population is cleared in makespan order, equal makespans by position.
// Asks stop before each niche and each row and returns false as soon as it answers yes (the pool
// is then partly written).
template <class Random, class Stop>
bool selectByClearedTournament(RunState& state, Random& random, Stop& stop,
                               ClearingScratch& scratch);

// Clears population and children together (2N, in makespan order, equal makespans the population
// before the children, each in row order) and keeps the first N of the cleared order as the next
// population, in makespan order, with their places in the cleared order for the next selection.
// Draws nothing; asks stop before each niche and, once it answers yes, returns false with
// state.population and state.populationSequences as they were.
template <class Stop>
bool replaceByClearing(RunState& state, Stop& stop, ClearingScratch& scratch);

struct ClearingScheme {
  ClearingScratch scratch;

  template <class Random, class Stop>
  bool select(RunState& state, Random& random, Stop& stop) {
    return selectByClearedTournament(state, random, stop, scratch);
  }
  template <class Random, class Stop>
  bool replace(RunState& state, Random& /*random*/, Stop& stop) {
    return replaceByClearing(state, stop, scratch);
  }
};

}  // namespace jobshop
