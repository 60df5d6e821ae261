// The cycle crossover: two walks over the partner positions, one in each direction.
#include "variation/cycle_crossover.h"

#include <algorithm>

#include "model/random_source.h"
#include "model/scripted_random.h"

namespace {

// Marks the cycle from `start` that steps from position p to the position in `here` of the
// operation `there` holds at p, writing `here`'s genes on it and `there`'s everywhere else.
// Returns the position at which the walk found a marked position again.
int walkCycle(const float* here, const OperationIndex& hereIndex, const float* there,
              const OperationIndex& thereIndex, int geneCount, int start, unsigned char* marks,
              float* child) {
  std::fill(marks, marks + geneCount, 0);
  int p = start;
  while (p >= 0 && p < geneCount && !marks[p]) {
    marks[p] = 1;
    child[p] = here[p];
    p = positionOf(hereIndex, jobOf(there[p]), thereIndex.occurrence[static_cast<size_t>(p)]);
  }
  for (int k = 0; k < geneCount; ++k) {
    if (!marks[k]) child[k] = there[k];
  }
  return p >= 0 && p < geneCount ? p : start;
}

}  // namespace

template <class Random>
void cycleCrossover(Population& offspring, const float* parent1, const float* parent2, int pair,
                    Random& random, VariationScratch& scratch) {
  const int geneCount = offspring.geneCount;
  const int start = random.randomBelow(geneCount);
  if (geneCount <= 0) return;
  indexOperations(scratch.index1, parent1, geneCount, 0);
  indexOperations(scratch.index2, parent2, geneCount, 0);
  scratch.marks1.resize(static_cast<size_t>(geneCount));
  // Child 2 walks the same cycle backwards from where child 1's walk closed.
  const int closed = walkCycle(parent1, scratch.index1, parent2, scratch.index2, geneCount, start,
                               scratch.marks1.data(), offspring.genes(2 * pair - 2));
  walkCycle(parent2, scratch.index2, parent1, scratch.index1, geneCount, closed,
            scratch.marks1.data(), offspring.genes(2 * pair - 1));
}

template void cycleCrossover(Population&, const float*, const float*, int, RandomSource&,
                             VariationScratch&);
template void cycleCrossover(Population&, const float*, const float*, int, ScriptedRandom&,
                             VariationScratch&);
