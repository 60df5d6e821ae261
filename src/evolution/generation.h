// One generation of a run: crowding selection, offspring generation and crowding replacement, done
// whole or, when a stop is asked on the way, given up without a trace in the population.
#pragma once

#include "model/run_state.h"
#include "niching/crowding_replacement.h"
#include "niching/crowding_selection.h"
#include "variation/variation_scratch.h"

namespace jobshop {

// Runs the three steps on state. Returns true when the generation is complete. Returns false when
// stop (state.stop in a run) answered yes to one of the steps (each asks it every first parent,
// candidate mate, pair and child): state.population, state.populationSequences and
// state.evaluationCount are then as they were before the call, while the mating pool, the offspring
// and the random source are left as the steps stopped them.
template <class Random, class Stop>
bool advanceGeneration(RunState& state, Random& random, Stop& stop, SelectionScratch& selection,
                       VariationScratch& variation, ReplacementScratch& replacement);

}  // namespace jobshop
