// One generation of a run: the niching scheme's selection, the reseed, offspring generation and
// the scheme's replacement, done whole or, when a stop is asked on the way, given up without a
// trace in the population.
#pragma once

#include "model/run_state.h"
#include "niching/niching_scheme.h"
#include "variation/variation_scratch.h"

namespace jobshop {

// Runs the steps on state: scheme's selection, random reseeded from state.clock, offspring
// generation, scheme's replacement. Returns true when the generation is complete. Returns false
// when stop (state.stop in a run) answered yes to one of the steps (each asks it every first
// parent, candidate mate, pair and child): state.population, state.populationSequences and
// state.evaluationCount are then as they were before the call, while the mating pool, the
// offspring and the random source are left as the steps stopped them.
template <class Random, class Stop>
bool advanceGeneration(RunState& state, Random& random, Stop& stop, NichingScheme& niching,
                       VariationScratch& variation);

}  // namespace jobshop
