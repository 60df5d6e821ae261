// Mutation operators: each moves genes of one child within its chromosome, taking its input from
// mutationBuffer and writing all L genes of child k; none adds, removes or changes a gene value.
#pragma once

#include "model/population.h"
#include "variation/variation_scratch.h"

namespace jobshop {

// Common to all four: k is the 0-based offspring row; only genes 0..L-1 of row k and (for three of
// them) mutationBuffer are written, never a fitness slot or another row. The child is written on
// every call, even when the draws change nothing, and no operator redraws.

// Draws a, b = randomBelow(L); with n = |a - b| > 0, shuffles buffer positions min..max by n more
// draws with bounds n+1, n, ..., 2 (each picks the next gene from those left, in their order).
// The buffer keeps the shuffle and is copied to the child.
template <class Random>
void scrambleMutation(Population& offspring, float* mutationBuffer, int k, Random& random,
                      VariationScratch& scratch);

// Draws a, b = randomBelow(L), exchanges buffer genes a and b and copies the buffer to the child.
template <class Random>
void swapMutation(Population& offspring, float* mutationBuffer, int k, Random& random,
                  VariationScratch& scratch);

// Draws from, to = randomBelow(L) and writes to the child the buffer with its gene `from` moved so
// that it stands at position `to`. The buffer itself is left as it was.
template <class Random>
void insertionMutation(Population& offspring, float* mutationBuffer, int k, Random& random,
                       VariationScratch& scratch);

// Draws p = randomBelow(L), exchanges buffer genes p and p+1 (L-2 and L-1 when p is the last
// position) and copies the buffer to the child. With L = 1 the single gene stays as it is.
template <class Random>
void neighbourSwapMutation(Population& offspring, float* mutationBuffer, int k, Random& random,
                           VariationScratch& scratch);

}  // namespace jobshop
