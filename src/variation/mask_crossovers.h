// Mask crossovers: one random bit per position decides, position by position, what each parent
// gives to the two children.
#pragma once

#include "model/population.h"
#include "variation/variation_scratch.h"

namespace jobshop {

// Each mask crossover draws randomBelow(2) once for every position 0..L-1, in that order, before
// writing anything, and nothing else; both children use the same bits. Child 1 is offspring row
// 2*pair-2 and child 2 row 2*pair-1 (pair 1-based). All L genes of both children are written;
// fitness slots, other rows and the parents are left untouched, and no child gene is read. Both
// parents must be valid chromosomes; identical parents give two copies whatever the bits.

// Child 1 takes, at each position, the leftmost unused gene of parent 1 where the bit is 0 and of
// parent 2 where it is 1, using up its partner in the other parent; child 2 reads the bits the
// other way. An operation before another in both parents stays before it in both children.
template <class Random>
void precedenceCrossover(Population& offspring, const float* parent1, const float* parent2,
                         int pair, Random& random, VariationScratch& scratch);

// Child 1 keeps parent 1's genes where the bit is 1 and fills the other positions, left to right,
// with parent 2's genes minus the partners of the kept ones; child 2 the same with the parents
// exchanged.
template <class Random>
void maskKeepCrossover(Population& offspring, const float* parent1, const float* parent2, int pair,
                       Random& random, VariationScratch& scratch);

// Child 1 is parent 1 with the operations that parent 2 holds at the 1-bit positions put into
// parent 2's order among themselves, on the positions they hold in parent 1; child 2 the same with
// the parents exchanged.
template <class Random>
void maskReorderCrossover(Population& offspring, const float* parent1, const float* parent2,
                          int pair, Random& random, VariationScratch& scratch);

}  // namespace jobshop
