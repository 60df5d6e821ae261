// The mask crossovers. Partners are paired through the operation numbers of both parents, so every
// child costs a few linear passes whatever the mask.
// Only the files that instantiate these templates include this header: the program's own in
// mask_crossovers.cpp and the tests' for their scripted draws. The helpers keep the internal
// linkage they had in the .cpp, so each of those files compiles its own copy, as before.
#pragma once

#include <algorithm>

#include "variation/bit_select.h"
#include "variation/mask_crossovers.h"
#include "variation/random_bits.h"

namespace jobshop {

namespace {

// All L bits are drawn before any child is written, so the draw count never depends on the genes.
template <class Random>
void drawMask(int geneCount, Random& random, VariationScratch& scratch) {
  scratch.mask.resize(static_cast<size_t>(geneCount));
  drawBits(random, geneCount, scratch.mask.data());
}

OperationShape numberBothParents(const float* parent1, const float* parent2, int geneCount,
                                 VariationScratch& scratch) {
  const OperationShape shape = operationShape(parent1, geneCount);
  numberOperations(parent1, shape, 0, scratch.index1);
  numberOperations(parent2, shape, 0, scratch.index2);
  scratch.flags.resize(static_cast<size_t>(operationNumberLimit(shape)));
  scratch.genes.resize(static_cast<size_t>(geneCount));
  return shape;
}

// One parent as the precedence crossover reads it: its genes, their numbers, and the leftmost
// position that may still be unused.
struct PrecedenceSide {
  const float* genes;
  const int* number;
  int next;
};

// The used genes of every job are always its leftmost ones in both parents, the same operations in
// both, so a gene is used exactly when its number is below usedUpTo of its job, the number of the
// job's next operation in the child. Taking a gene therefore uses up its partner too, with no
// marks.
void writePrecedenceChild(const float* parent1, const float* parent2, const OperationShape& shape,
                          unsigned char bitGivenByParent1, float* child,
                          VariationScratch& scratch) {
  const int geneCount = shape.geneCount;
  scratch.usedUpTo.resize(static_cast<size_t>(shape.jobs) + 1);
  int* usedUpTo = scratch.usedUpTo.data();
  for (int g = 1; g <= shape.jobs; ++g) usedUpTo[g] = firstNumber(g, shape);
  PrecedenceSide sides[2] = {{parent1, scratch.index1.number.data(), 0},
                             {parent2, scratch.index2.number.data(), 0}};
  const unsigned char* mask = scratch.mask.data();
  for (int k = 0; k < geneCount; ++k) {
    PrecedenceSide& giver = sides[mask[k] == bitGivenByParent1 ? 0 : 1];
    while (giver.next < geneCount &&
           giver.number[giver.next] < usedUpTo[jobSlot(giver.genes[giver.next], shape)]) {
      ++giver.next;
    }
    if (giver.next >= geneCount) {
      child[k] = 0.0f;  // unreachable for valid parents: each side has L - k unused genes
      continue;
    }
    const float gene = giver.genes[giver.next++];
    child[k] = gene;
    ++usedUpTo[jobSlot(gene, shape)];
  }
}

// flags[n] tells whether the operation numbered n is kept; every number of a valid parent is
// written, so nothing needs clearing between calls. The loops only add bits instead of branching
// on them, as the mask is random.
void writeKeepChild(const float* keeper, const int* keeperNumber, const float* other,
                    const int* otherNumber, int geneCount, const unsigned char* mask,
                    unsigned char* flags, float* remainder, float* child) {
  for (int k = 0; k < geneCount; ++k) flags[keeperNumber[k]] = mask[k];
  int length = 0;
  for (int p = 0; p < geneCount; ++p) {
    remainder[length] = other[p];
    length += flags[otherNumber[p]] ^ 1;
  }
  int taken = 0;
  for (int k = 0; k < geneCount; ++k) {
    child[k] = selectByBit(mask[k], keeper[k], remainder[taken]);
    taken += mask[k] ^ 1;
  }
}

// One pass over the selector: numbers its genes, flags for the other parent's child which of its
// operations stand at 1-bit positions (every number of a valid parent is written, so nothing needs
// clearing) and collects those genes in the selector's order. The shape and the current gene are
// held in locals because the byte stores could otherwise alias them.
void selectOperations(const float* selector, const OperationShape& shape, const unsigned char* mask,
                      OperationIndex& index, unsigned char* flags, float* selected) {
  int* nextNumber = startNumbering(shape, index);
  int* number = index.number.data();
  const int geneCount = shape.geneCount;
  const int jobs = shape.jobs;
  int count = 0;
  for (int k = 0; k < geneCount; ++k) {
    const float gene = selector[k];
    const unsigned char bit = mask[k];
    const int n = nextNumber[std::clamp(static_cast<int>(gene), 1, jobs)]++;
    number[k] = n;
    flags[n] = bit;
    selected[count] = gene;
    count += bit;
  }
}

// The base with its flagged operations replaced, in place, by the selected genes in their order.
void writeReorderChild(const float* base, const int* baseNumber, int geneCount,
                       const unsigned char* flags, const float* selected, float* child) {
  int next = 0;
  for (int k = 0; k < geneCount; ++k) {
    const unsigned char marked = flags[baseNumber[k]];
    child[k] = selectByBit(marked, selected[next], base[k]);
    next += marked;
  }
}

// Both at once for the base: while numbering it, writes its child from the other parent's flags
// and selection (as writeReorderChild) and makes its own flags and selection for the other child
// (as selectOperations), so the base is read once.
void reorderAndSelect(const float* base, const OperationShape& shape, const unsigned char* mask,
                      const unsigned char* flags, const float* selected, OperationIndex& index,
                      unsigned char* ownFlags, float* ownSelected, float* child) {
  int* nextNumber = startNumbering(shape, index);
  const int geneCount = shape.geneCount;
  const int jobs = shape.jobs;
  int next = 0;
  int count = 0;
  for (int k = 0; k < geneCount; ++k) {
    const float gene = base[k];
    const unsigned char bit = mask[k];
    const int n = nextNumber[std::clamp(static_cast<int>(gene), 1, jobs)]++;
    const unsigned char marked = flags[n];
    child[k] = selectByBit(marked, selected[next], gene);
    next += marked;
    ownFlags[n] = bit;
    ownSelected[count] = gene;
    count += bit;
  }
}

}  // namespace

template <class Random>
void precedenceCrossover(Population& offspring, const float* parent1, const float* parent2,
                         int pair, Random& random, VariationScratch& scratch) {
  const int geneCount = offspring.geneCount;
  drawMask(geneCount, random, scratch);
  const OperationShape shape = numberBothParents(parent1, parent2, geneCount, scratch);
  writePrecedenceChild(parent1, parent2, shape, 0, offspring.genes(2 * pair - 2), scratch);
  writePrecedenceChild(parent1, parent2, shape, 1, offspring.genes(2 * pair - 1), scratch);
}

template <class Random>
void maskKeepCrossover(Population& offspring, const float* parent1, const float* parent2, int pair,
                       Random& random, VariationScratch& scratch) {
  const int geneCount = offspring.geneCount;
  drawMask(geneCount, random, scratch);
  numberBothParents(parent1, parent2, geneCount, scratch);
  const int* number1 = scratch.index1.number.data();
  const int* number2 = scratch.index2.number.data();
  writeKeepChild(parent1, number1, parent2, number2, geneCount, scratch.mask.data(),
                 scratch.flags.data(), scratch.genes.data(), offspring.genes(2 * pair - 2));
  writeKeepChild(parent2, number2, parent1, number1, geneCount, scratch.mask.data(),
                 scratch.flags.data(), scratch.genes.data(), offspring.genes(2 * pair - 1));
}

template <class Random>
void maskReorderCrossover(Population& offspring, const float* parent1, const float* parent2,
                          int pair, Random& random, VariationScratch& scratch) {
  const int geneCount = offspring.geneCount;
  drawMask(geneCount, random, scratch);
  if (geneCount <= 0) return;
  const OperationShape shape = operationShape(parent1, geneCount);
  const size_t numbers = static_cast<size_t>(operationNumberLimit(shape));
  scratch.flags.resize(numbers);
  scratch.otherFlags.resize(numbers);
  scratch.genes.resize(static_cast<size_t>(geneCount));
  scratch.otherGenes.resize(static_cast<size_t>(geneCount));
  // Parent 2 selects for child 1; parent 1 then becomes child 1 and selects for child 2, whose
  // base, parent 2, was numbered by the first pass.
  selectOperations(parent2, shape, scratch.mask.data(), scratch.index2, scratch.flags.data(),
                   scratch.genes.data());
  reorderAndSelect(parent1, shape, scratch.mask.data(), scratch.flags.data(), scratch.genes.data(),
                   scratch.index1, scratch.otherFlags.data(), scratch.otherGenes.data(),
                   offspring.genes(2 * pair - 2));
  writeReorderChild(parent2, scratch.index2.number.data(), geneCount, scratch.otherFlags.data(),
                    scratch.otherGenes.data(), offspring.genes(2 * pair - 1));
}

}  // namespace jobshop
