// Crowding selection of mates: each first parent is drawn at random, and its mate is the most
// similar (smallest schedule distance) of mateCandidates random candidates that are not its clones.
#pragma once

#include "model/run_state.h"
#include "model/sequence_table.h"

namespace jobshop {

// Nothing is kept between calls any more (the nearest candidate is tracked while they are drawn,
// so mateCandidates costs no memory); the struct keeps the steps' calls alike.
struct SelectionScratch {};

// Distances are taken from state.populationSequences, which must match state.population.
// Fills state.matingPool (and its rows of state.matingPoolSequences): positions 0..N/2-1 the first
// parents (drawn with replacement), position N/2 + i the mate of first parent i, all whole copies
// of state.population individuals. Candidates equal to the first parent's position are redrawn and
// those at distance 0 discarded; among equal distances the first accepted wins. When every other
// individual has the first parent's machine sequences, the first candidate drawn is the mate, so
// the search always ends. Asks stop (state.stop in a run) before each first parent and each
// candidate, and returns false as soon as it answers yes (the pool is then partly written); true
// when complete.
template <class Random, class Stop>
bool selectMates(RunState& state, Random& random, Stop& stop, SelectionScratch& scratch);

}  // namespace jobshop
