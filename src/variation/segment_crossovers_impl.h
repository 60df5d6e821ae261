// The three segment crossovers share their cut points and their remainder; they differ only in
// where the segment lands and from where the filler is read.
// Only the files that instantiate these templates include this header: the program's own in
// segment_crossovers.cpp and the tests' for their scripted draws. The helpers keep the internal
// linkage they had in the .cpp, so each of those files compiles its own copy, as before.
#pragma once

#include <algorithm>

#include "variation/segment_crossovers.h"

namespace jobshop {

namespace {

enum class Placement { kFill, kInsert, kWrap };

struct Segment {
  int lo;
  int hi;
};

template <class Random>
Segment drawSegment(int geneCount, Random& random) {
  const int a = random.randomBelow(geneCount);
  const int b = random.randomBelow(geneCount);
  return b < a ? Segment{b, a} : Segment{a, b};
}

// The filler's genes in reading order without the partners of the donor's segment.
struct Remainder {
  const float* genes;
  int length;
  int anchorEnd;  // how many remainder genes precede the inserted segment (insert placement)
};

// Numbers the donor from position 0 and the filler in its reading order (from `start`, wrapping),
// flags the numbers of the segment's operations and keeps the filler's genes whose numbers are not
// flagged. The anchor is the donor's operation at lo-1: the insert placement puts the segment right
// after the filler's gene with the same number, which a valid pair always keeps.
Remainder buildRemainder(const float* donor, const float* filler, int geneCount, Segment segment,
                         int start, VariationScratch& scratch) {
  const OperationShape shape = operationShape(donor, geneCount);
  numberOperations(donor, shape, 0, scratch.index1);
  numberOperations(filler, shape, start, scratch.index2);
  scratch.flags.resize(static_cast<size_t>(operationNumberLimit(shape)));
  scratch.genes.resize(static_cast<size_t>(geneCount));
  unsigned char* flags = scratch.flags.data();
  const int* donorNumber = scratch.index1.number.data();
  const int* fillerNumber = scratch.index2.number.data();
  for (int k = 0; k < geneCount; ++k)
    flags[donorNumber[k]] = k >= segment.lo && k <= segment.hi ? 1 : 0;
  const int anchorNumber = segment.lo > 0 ? donorNumber[segment.lo - 1] : -1;

  float* genes = scratch.genes.data();
  int length = 0;
  int anchorEnd = segment.lo == 0 ? 0 : -1;
  // Adds a kept gene without branching on whether it is kept, as that is random.
  const auto read = [&](int p) {
    genes[length] = filler[p];
    length += flags[fillerNumber[p]] ^ 1;
    if (fillerNumber[p] == anchorNumber) anchorEnd = length;
  };
  for (int p = start; p < geneCount; ++p) read(p);
  for (int p = 0; p < start; ++p) read(p);
  return {genes, length, anchorEnd < 0 ? length : anchorEnd};
}

// Writes remainder genes from..from+count-1 to dest; only invalid parents leave too few, and the
// missing ones become zeros.
void copyRemainder(const Remainder& remainder, int from, int count, float* dest) {
  const int available = std::clamp(remainder.length - from, 0, count);
  std::copy(remainder.genes + from, remainder.genes + from + available, dest);
  std::fill(dest + available, dest + count, 0.0f);
}

// Segment at lo..hi; the remainder fills the positions after the segment first when `afterFirst`
// (the wrap placement) and the positions before it first otherwise.
void placeAroundSegment(const float* donor, const Remainder& remainder, int geneCount,
                        Segment segment, bool afterFirst, float* child) {
  std::copy(donor + segment.lo, donor + segment.hi + 1, child + segment.lo);
  const int before = segment.lo;
  const int after = geneCount - 1 - segment.hi;
  if (afterFirst) {
    copyRemainder(remainder, 0, after, child + segment.hi + 1);
    copyRemainder(remainder, after, before, child);
  } else {
    copyRemainder(remainder, 0, before, child);
    copyRemainder(remainder, before, after, child + segment.hi + 1);
  }
}

// The remainder from position 0 with the segment written after its first anchorEnd genes; only
// invalid parents make the pieces add up to more or less than L, and then the child is cut or
// padded with zeros.
void placeAfterAnchor(const float* donor, const Remainder& remainder, int geneCount,
                      Segment segment, float* child) {
  int filled = 0;
  const auto append = [&](const float* from, int count) {
    count = std::min(count, geneCount - filled);
    std::copy(from, from + count, child + filled);
    filled += count;
  };
  append(remainder.genes, remainder.anchorEnd);
  append(donor + segment.lo, segment.hi - segment.lo + 1);
  append(remainder.genes + remainder.anchorEnd, remainder.length - remainder.anchorEnd);
  std::fill(child + filled, child + geneCount, 0.0f);
}

void writeChild(Placement placement, const float* donor, const float* filler, int geneCount,
                Segment segment, float* child, VariationScratch& scratch) {
  const bool wrap = placement == Placement::kWrap;
  const int start = wrap && segment.hi + 1 < geneCount ? segment.hi + 1 : 0;
  const Remainder remainder = buildRemainder(donor, filler, geneCount, segment, start, scratch);
  if (placement == Placement::kInsert) {
    placeAfterAnchor(donor, remainder, geneCount, segment, child);
  } else {
    placeAroundSegment(donor, remainder, geneCount, segment, wrap, child);
  }
}

template <class Random>
void segmentCrossover(Placement placement, Population& offspring, const float* parent1,
                      const float* parent2, int pair, Random& random, VariationScratch& scratch) {
  const int geneCount = offspring.geneCount;
  const Segment segment = drawSegment(geneCount, random);
  if (geneCount <= 0) return;
  writeChild(placement, parent1, parent2, geneCount, segment, offspring.genes(2 * pair - 2),
             scratch);
  writeChild(placement, parent2, parent1, geneCount, segment, offspring.genes(2 * pair - 1),
             scratch);
}

}  // namespace

template <class Random>
void segmentFillCrossover(Population& offspring, const float* parent1, const float* parent2,
                          int pair, Random& random, VariationScratch& scratch) {
  segmentCrossover(Placement::kFill, offspring, parent1, parent2, pair, random, scratch);
}

template <class Random>
void segmentInsertCrossover(Population& offspring, const float* parent1, const float* parent2,
                            int pair, Random& random, VariationScratch& scratch) {
  segmentCrossover(Placement::kInsert, offspring, parent1, parent2, pair, random, scratch);
}

template <class Random>
void segmentWrapCrossover(Population& offspring, const float* parent1, const float* parent2,
                          int pair, Random& random, VariationScratch& scratch) {
  segmentCrossover(Placement::kWrap, offspring, parent1, parent2, pair, random, scratch);
}

}  // namespace jobshop
