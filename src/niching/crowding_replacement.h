// Crowding replacement: every child replaces the worst of the most similar individuals of several
// random groups, then the population is re-sorted and its previous best kept if all got worse.
#pragma once

#include <cstdint>
#include <vector>

#include "model/population.h"
#include "model/run_state.h"
#include "model/sequence_table.h"

namespace jobshop {

struct ReplacementScratch {
  std::vector<float> savedBest;
  std::vector<std::uint8_t> savedBestSequences;
  Population sorted;  // the sorted write-back, swapped with the population
  SequenceTable sortedSequences;
  std::vector<int> drawnPositions;
  std::vector<int> draws;  // one batch of position draws
  std::vector<int> drawnDistances;
  std::vector<int> acceptedMark;  // per position: the child number that last accepted it, plus one
  std::vector<int> order;
  std::vector<float> keys;
  // The positions overwritten so far, in the order of their first overwrite, whose individuals as
  // they were are kept in the mating pool for an abandoned replacement; per position 1 once kept.
  std::vector<int> savedPositions;
  std::vector<std::uint8_t> savedMark;
};

// Inserts every child of state.offspring, in order, into a working copy of state.population: the
// child draws crowdingGroups x crowdingGroupSize distinct positions, each group's winner is its
// member nearest to the child (first drawn among equals), and the child overwrites the winner with
// the largest truncated makespan (lowest group among equals), unconditionally. The working copy is
// then sorted stably by makespan and written back; the previous best comes back at position 0 only
// when it is strictly better than everything in the working copy. Distances come from the
// children's machine sequences in state.offspringSequences and from state.populationSequences,
// which is kept matching the rewritten population. Asks stop before each child; as soon as it
// answers yes, puts back what the children placed so far overwrote and returns false, leaving
// state.population and state.populationSequences as they were on entry. True when complete.
// Overwrites state.matingPool and state.matingPoolSequences, which are not read after offspring
// generation, with what the children overwrote.
template <class Random, class Stop>
bool replaceByCrowding(RunState& state, Random& random, Stop& stop, ReplacementScratch& scratch);

}  // namespace jobshop
