// The three segment crossovers share their cut points and their remainder; they differ only in
// where the segment lands and from where the filler is read.
#include "variation/segment_crossovers.h"

#include <algorithm>

#include "model/random_source.h"
#include "model/scripted_random.h"

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

// Fills scratch.genes with the filler's genes in reading order (from `start`, wrapping) minus the
// partners of the donor's segment, and returns how many there are. Occurrences of the donor count
// from position 0, those of the filler in its reading order.
int buildRemainder(const float* donor, const float* filler, int geneCount, Segment segment,
                   int start, VariationScratch& scratch) {
  indexOperations(scratch.index1, donor, geneCount, 0);
  indexOperations(scratch.index2, filler, geneCount, start);
  scratch.marks1.assign(static_cast<size_t>(geneCount), 0);
  for (int k = segment.lo; k <= segment.hi; ++k) {
    const int partner = positionOf(scratch.index2, jobOf(donor[k]),
                                   scratch.index1.occurrence[static_cast<size_t>(k)]);
    if (partner >= 0) scratch.marks1[static_cast<size_t>(partner)] = 1;
  }
  scratch.genes.resize(static_cast<size_t>(geneCount));
  int length = 0;
  int k = start;
  for (int read = 0; read < geneCount; ++read, ++k) {
    if (k >= geneCount) k = 0;
    if (!scratch.marks1[static_cast<size_t>(k)])
      scratch.genes[static_cast<size_t>(length++)] = filler[k];
  }
  return length;
}

// Segment at lo..hi; the remainder runs through the positions first..L-1 and then 0..first-1,
// skipping the segment (first = 0 for the fill placement, hi+1 for the wrap placement).
void placeAroundSegment(const float* donor, const float* remainder, int length, int geneCount,
                        Segment segment, int first, float* child) {
  std::copy(donor + segment.lo, donor + segment.hi + 1, child + segment.lo);
  int taken = 0;
  int p = first;
  for (int visited = 0; visited < geneCount; ++visited, ++p) {
    if (p >= geneCount) p = 0;
    if (p >= segment.lo && p <= segment.hi) continue;
    child[p] = taken < length ? remainder[taken++] : 0.0f;
  }
}

// Remainder from position 0, with the segment written right after the remainder's c-th gene of
// job g, where (g, c) is the donor's operation at lo-1.
void placeAfterAnchor(const float* donor, const float* remainder, int length, int geneCount,
                      Segment segment, const OperationIndex& donorIndex, float* child) {
  int p = 0;
  const auto put = [&](float gene) {
    if (p < geneCount) child[p++] = gene;
  };
  const auto putSegment = [&] {
    for (int k = segment.lo; k <= segment.hi; ++k) put(donor[k]);
  };
  bool inserted = segment.lo == 0;
  if (inserted) putSegment();
  const int anchorJob = segment.lo > 0 ? jobOf(donor[segment.lo - 1]) : 0;
  const int anchorOccurrence =
      segment.lo > 0 ? donorIndex.occurrence[static_cast<size_t>(segment.lo - 1)] : 0;
  int seen = 0;
  for (int r = 0; r < length; ++r) {
    put(remainder[r]);
    if (!inserted && jobOf(remainder[r]) == anchorJob && ++seen == anchorOccurrence) {
      putSegment();
      inserted = true;
    }
  }
  if (!inserted) putSegment();
  while (p < geneCount) put(0.0f);
}

void writeChild(Placement placement, const float* donor, const float* filler, int geneCount,
                Segment segment, float* child, VariationScratch& scratch) {
  const int start =
      placement == Placement::kWrap && segment.hi + 1 < geneCount ? segment.hi + 1 : 0;
  const int length = buildRemainder(donor, filler, geneCount, segment, start, scratch);
  const float* remainder = scratch.genes.data();
  if (placement == Placement::kInsert) {
    placeAfterAnchor(donor, remainder, length, geneCount, segment, scratch.index1, child);
  } else {
    placeAroundSegment(donor, remainder, length, geneCount, segment, start, child);
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

template void segmentFillCrossover(Population&, const float*, const float*, int, RandomSource&,
                                   VariationScratch&);
template void segmentFillCrossover(Population&, const float*, const float*, int, ScriptedRandom&,
                                   VariationScratch&);
template void segmentInsertCrossover(Population&, const float*, const float*, int, RandomSource&,
                                     VariationScratch&);
template void segmentInsertCrossover(Population&, const float*, const float*, int, ScriptedRandom&,
                                     VariationScratch&);
template void segmentWrapCrossover(Population&, const float*, const float*, int, RandomSource&,
                                   VariationScratch&);
template void segmentWrapCrossover(Population&, const float*, const float*, int, ScriptedRandom&,
                                   VariationScratch&);
