// Segment crossovers: each child keeps one parent's genes lo..hi whole and takes every other gene
// from the other parent in that parent's order, leaving out the operations the segment supplies.
#pragma once

#include "model/population.h"
#include "variation/variation_scratch.h"

namespace jobshop {

// Every segment crossover draws a = randomBelow(L), then b = randomBelow(L), and nothing else; the
// cut points are lo = min(a, b), hi = max(a, b). Child 1 (offspring row 2*pair-2) takes its segment
// from parent 1 and the rest from parent 2, child 2 (row 2*pair-1) the other way round. All L genes
// of both children are written; fitness slots, other rows and the parents are left untouched, and
// no child gene is read. pair is 1-based. Both parents must be valid chromosomes.

// The segment stays at lo..hi; the remainder fills 0..lo-1, then hi+1..L-1.
template <class Random>
void segmentFillCrossover(Population& offspring, const float* parent1, const float* parent2,
                          int pair, Random& random, VariationScratch& scratch);

// The remainder is written from position 0, and the segment is inserted right after the filler's
// copy of the donor's gene at lo-1 (at the front when lo = 0).
template <class Random>
void segmentInsertCrossover(Population& offspring, const float* parent1, const float* parent2,
                            int pair, Random& random, VariationScratch& scratch);

// The segment stays at lo..hi; the filler is read and numbered from position hi+1 with wrap-around
// and its remainder fills hi+1..L-1, then 0..lo-1. Identical parents do not in general give copies.
template <class Random>
void segmentWrapCrossover(Population& offspring, const float* parent1, const float* parent2,
                          int pair, Random& random, VariationScratch& scratch);

}  // namespace jobshop
