// The four mutation operators. Whether an operator changes mutationBuffer decides how several of
// them combine on one child, so that detail is kept exactly per operator.
// Only the files that instantiate these templates include this header: the program's own in
// mutations.cpp and the tests' for their scripted draws. The helpers keep the internal linkage
// they had in the .cpp, so each of those files compiles its own copy, as before.
#pragma once

#include <algorithm>
#include <utility>

#include "variation/mutations.h"

namespace jobshop {

namespace {

void copyBufferToChild(Population& offspring, const float* mutationBuffer, int k) {
  std::copy(mutationBuffer, mutationBuffer + offspring.geneCount, offspring.genes(k));
}

}  // namespace

template <class Random>
void scrambleMutation(Population& offspring, float* mutationBuffer, int k, Random& random,
                      VariationScratch& scratch) {
  const int geneCount = offspring.geneCount;
  const int a = random.randomBelow(geneCount);
  const int b = random.randomBelow(geneCount);
  const int lo = std::min(a, b);
  const int n = std::max(a, b) - lo;
  if (n > 0) {
    // The pool is a copy of the segment, so the new order can be written over the segment itself.
    // Each draw names a rank among the entries not yet taken, in the pool's order, so every draw
    // sequence names exactly one permutation.
    float* segment = mutationBuffer + lo;
    RankedPool& pool = scratch.pool;
    pool.reset(segment, n + 1);
    for (int i = 0; i < n; ++i) segment[i] = pool.take(random.randomBelow(n + 1 - i));
    segment[n] = pool.take(0);
  }
  copyBufferToChild(offspring, mutationBuffer, k);
}

template <class Random>
void swapMutation(Population& offspring, float* mutationBuffer, int k, Random& random,
                  VariationScratch& /*scratch*/) {
  const int geneCount = offspring.geneCount;
  const int a = random.randomBelow(geneCount);
  const int b = random.randomBelow(geneCount);
  if (geneCount > 0) std::swap(mutationBuffer[a], mutationBuffer[b]);
  copyBufferToChild(offspring, mutationBuffer, k);
}

template <class Random>
void insertionMutation(Population& offspring, float* mutationBuffer, int k, Random& random,
                       VariationScratch& scratch) {
  const int geneCount = offspring.geneCount;
  const int from = random.randomBelow(geneCount);
  const int to = random.randomBelow(geneCount);
  if (geneCount <= 0) return;
  if (scratch.genes.size() < static_cast<size_t>(geneCount)) {
    scratch.genes.resize(static_cast<size_t>(geneCount));
  }
  float* moved = scratch.genes.data();
  std::copy(mutationBuffer, mutationBuffer + geneCount, moved);
  if (from < to) {
    std::rotate(moved + from, moved + from + 1, moved + to + 1);
  } else if (from > to) {
    std::rotate(moved + to, moved + from, moved + from + 1);
  }
  std::copy(moved, moved + geneCount, offspring.genes(k));
}

template <class Random>
void neighbourSwapMutation(Population& offspring, float* mutationBuffer, int k, Random& random,
                           VariationScratch& /*scratch*/) {
  const int geneCount = offspring.geneCount;
  const int p = random.randomBelow(geneCount);
  if (geneCount >= 2) {
    const int left = p < geneCount - 1 ? p : geneCount - 2;
    std::swap(mutationBuffer[left], mutationBuffer[left + 1]);
  }
  copyBufferToChild(offspring, mutationBuffer, k);
}

}  // namespace jobshop
