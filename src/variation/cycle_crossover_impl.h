// The cycle crossover: two walks over the partner positions, one in each direction.
// Only the files that instantiate these templates include this header: the program's own in
// cycle_crossover.cpp and the tests' for their scripted draws. The helpers keep the internal
// linkage they had in the .cpp, so each of those files compiles its own copy, as before.
#pragma once

#include <algorithm>

#include "variation/cycle_crossover.h"

namespace jobshop {

namespace {

// Writes `there` everywhere and then `here` on the cycle through `start`, which steps from position
// p to the position in `here` of the operation that `there` holds at p. For a valid pair the
// partner relation is a permutation, so the walk closes at start, the first position it meets
// again; L steps bound it for any other input.
void walkCycle(const float* here, const OperationIndex& hereIndex, const float* there,
               const OperationIndex& thereIndex, int geneCount, int start, float* child) {
  std::copy(there, there + geneCount, child);
  int p = start;
  for (int step = 0; step < geneCount; ++step) {
    child[p] = here[p];
    p = positionOf(hereIndex, thereIndex.number[static_cast<size_t>(p)]);
    if (p < 0 || p == start) break;
  }
}

}  // namespace

template <class Random>
void cycleCrossover(Population& offspring, const float* parent1, const float* parent2, int pair,
                    Random& random, VariationScratch& scratch) {
  const int geneCount = offspring.geneCount;
  const int start = random.randomBelow(geneCount);
  if (geneCount <= 0) return;
  const OperationShape shape = operationShape(parent1, geneCount);
  numberOperations(parent1, shape, 0, scratch.index1);
  numberOperations(parent2, shape, 0, scratch.index2);
  locateOperations(shape, scratch.index1);
  locateOperations(shape, scratch.index2);
  // Child 2 walks the same cycle backwards from where child 1's walk closed, which is the start.
  walkCycle(parent1, scratch.index1, parent2, scratch.index2, geneCount, start,
            offspring.genes(2 * pair - 2));
  walkCycle(parent2, scratch.index2, parent1, scratch.index1, geneCount, start,
            offspring.genes(2 * pair - 1));
}

}  // namespace jobshop
