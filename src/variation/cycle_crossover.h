// Cycle crossover: the two children exchange the parents' genes on the one cycle of partner
// positions that passes through a random start.
#pragma once

#include "model/population.h"
#include "variation/variation_scratch.h"

namespace jobshop {

// Draws s = randomBelow(L) once, before writing anything, and nothing else. Child 1 (offspring row
// 2*pair-2, pair 1-based) is parent 1 on the cycle through s and parent 2 elsewhere; child 2 (row
// 2*pair-1) is parent 2 on the cycle and parent 1 elsewhere. The cycle follows a position to the
// position in parent 1 of the operation that parent 2 holds there. All L genes of both children
// are written; fitness slots, other rows and the parents are left untouched, and no child gene is
// read. Both parents must be valid chromosomes.
template <class Random>
void cycleCrossover(Population& offspring, const float* parent1, const float* parent2, int pair,
                    Random& random, VariationScratch& scratch);

}  // namespace jobshop
