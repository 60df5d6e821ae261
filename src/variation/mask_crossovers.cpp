// The mask crossovers. Partners are found through per-call occurrence indexes of both parents, so
// every child costs O(L) whatever the mask.
#include "variation/mask_crossovers.h"

#include <algorithm>

#include "model/random_source.h"
#include "model/scripted_random.h"

namespace {

// All L bits are drawn before any child is written, so the draw count never depends on the genes.
template <class Random>
void drawMask(int geneCount, Random& random, VariationScratch& scratch) {
  scratch.mask.resize(static_cast<size_t>(geneCount));
  for (int k = 0; k < geneCount; ++k) {
    scratch.mask[static_cast<size_t>(k)] = random.randomBelow(2) != 0 ? 1 : 0;
  }
}

void indexBothParents(const float* parent1, const float* parent2, int geneCount,
                      VariationScratch& scratch) {
  indexOperations(scratch.index1, parent1, geneCount, 0);
  indexOperations(scratch.index2, parent2, geneCount, 0);
  scratch.marks1.resize(static_cast<size_t>(geneCount));
  scratch.marks2.resize(static_cast<size_t>(geneCount));
}

// One parent as seen by the precedence crossover: which genes are used up, how many of each job,
// and the leftmost position that may still be unused.
struct PrecedenceSide {
  const float* genes;
  const OperationIndex* index;
  unsigned char* marks;
  int* taken;
  int next;
};

// The used genes of every job in a parent are always its leftmost ones, so the leftmost unused
// gene of job g is operation (g, taken[g] + 1) and the receiving side's mark is one index lookup.
void writePrecedenceChild(const float* parent1, const float* parent2, int geneCount,
                          int bitGivenByParent1, float* child, VariationScratch& scratch) {
  const size_t jobEntries =
      std::max(scratch.index1.firstSlot.size(), scratch.index2.firstSlot.size()) - 1;
  scratch.taken1.assign(jobEntries, 0);
  scratch.taken2.assign(jobEntries, 0);
  std::fill(scratch.marks1.begin(), scratch.marks1.end(), 0);
  std::fill(scratch.marks2.begin(), scratch.marks2.end(), 0);
  PrecedenceSide first{parent1, &scratch.index1, scratch.marks1.data(), scratch.taken1.data(), 0};
  PrecedenceSide second{parent2, &scratch.index2, scratch.marks2.data(), scratch.taken2.data(), 0};
  for (int k = 0; k < geneCount; ++k) {
    const bool firstGives = scratch.mask[static_cast<size_t>(k)] == bitGivenByParent1;
    PrecedenceSide& giver = firstGives ? first : second;
    PrecedenceSide& receiver = firstGives ? second : first;
    while (giver.next < geneCount && giver.marks[giver.next]) ++giver.next;
    if (giver.next >= geneCount) {
      child[k] = 0.0f;  // unreachable for valid parents: each side has L - k unused genes
      continue;
    }
    const float gene = giver.genes[giver.next];
    child[k] = gene;
    giver.marks[giver.next] = 1;
    const int job = std::max(0, jobOf(gene));
    ++giver.taken[job];
    const int partner = positionOf(*receiver.index, job, receiver.taken[job] + 1);
    if (partner >= 0) {
      receiver.marks[partner] = 1;
      ++receiver.taken[job];
    }
  }
}

void writeKeepChild(const float* keeper, const OperationIndex& keeperIndex, const float* other,
                    const OperationIndex& otherIndex, int geneCount, const int* mask,
                    unsigned char* marks, float* child) {
  std::fill(marks, marks + geneCount, 0);
  for (int k = 0; k < geneCount; ++k) {
    if (!mask[k]) continue;
    child[k] = keeper[k];
    const int partner =
        positionOf(otherIndex, jobOf(keeper[k]), keeperIndex.occurrence[static_cast<size_t>(k)]);
    if (partner >= 0) marks[partner] = 1;
  }
  int next = 0;
  for (int k = 0; k < geneCount; ++k) {
    if (mask[k]) continue;
    while (next < geneCount && marks[next]) ++next;
    child[k] = next < geneCount ? other[next++] : 0.0f;
  }
}

void writeReorderChild(const float* base, const OperationIndex& baseIndex, const float* selector,
                       const OperationIndex& selectorIndex, int geneCount, const int* mask,
                       unsigned char* marks, float* selected, float* child) {
  std::fill(marks, marks + geneCount, 0);
  int count = 0;
  for (int k = 0; k < geneCount; ++k) {
    if (!mask[k]) continue;
    selected[count++] = selector[k];
    const int partner =
        positionOf(baseIndex, jobOf(selector[k]), selectorIndex.occurrence[static_cast<size_t>(k)]);
    if (partner >= 0) marks[partner] = 1;
  }
  int next = 0;
  for (int k = 0; k < geneCount; ++k) {
    child[k] = marks[k] && next < count ? selected[next++] : base[k];
  }
}

}  // namespace

template <class Random>
void precedenceCrossover(Population& offspring, const float* parent1, const float* parent2,
                         int pair, Random& random, VariationScratch& scratch) {
  const int geneCount = offspring.geneCount;
  drawMask(geneCount, random, scratch);
  indexBothParents(parent1, parent2, geneCount, scratch);
  writePrecedenceChild(parent1, parent2, geneCount, 0, offspring.genes(2 * pair - 2), scratch);
  writePrecedenceChild(parent1, parent2, geneCount, 1, offspring.genes(2 * pair - 1), scratch);
}

template <class Random>
void maskKeepCrossover(Population& offspring, const float* parent1, const float* parent2, int pair,
                       Random& random, VariationScratch& scratch) {
  const int geneCount = offspring.geneCount;
  drawMask(geneCount, random, scratch);
  indexBothParents(parent1, parent2, geneCount, scratch);
  writeKeepChild(parent1, scratch.index1, parent2, scratch.index2, geneCount, scratch.mask.data(),
                 scratch.marks2.data(), offspring.genes(2 * pair - 2));
  writeKeepChild(parent2, scratch.index2, parent1, scratch.index1, geneCount, scratch.mask.data(),
                 scratch.marks1.data(), offspring.genes(2 * pair - 1));
}

template <class Random>
void maskReorderCrossover(Population& offspring, const float* parent1, const float* parent2,
                          int pair, Random& random, VariationScratch& scratch) {
  const int geneCount = offspring.geneCount;
  drawMask(geneCount, random, scratch);
  indexBothParents(parent1, parent2, geneCount, scratch);
  scratch.genes.resize(static_cast<size_t>(geneCount));
  writeReorderChild(parent1, scratch.index1, parent2, scratch.index2, geneCount,
                    scratch.mask.data(), scratch.marks1.data(), scratch.genes.data(),
                    offspring.genes(2 * pair - 2));
  writeReorderChild(parent2, scratch.index2, parent1, scratch.index1, geneCount,
                    scratch.mask.data(), scratch.marks2.data(), scratch.genes.data(),
                    offspring.genes(2 * pair - 1));
}

template void precedenceCrossover(Population&, const float*, const float*, int, RandomSource&,
                                  VariationScratch&);
template void precedenceCrossover(Population&, const float*, const float*, int, ScriptedRandom&,
                                  VariationScratch&);
template void maskKeepCrossover(Population&, const float*, const float*, int, RandomSource&,
                                VariationScratch&);
template void maskKeepCrossover(Population&, const float*, const float*, int, ScriptedRandom&,
                                VariationScratch&);
template void maskReorderCrossover(Population&, const float*, const float*, int, RandomSource&,
                                   VariationScratch&);
template void maskReorderCrossover(Population&, const float*, const float*, int, ScriptedRandom&,
                                   VariationScratch&);
