// Decoding into machine sequences and the cell-count distance.
#include "model/machine_sequences.h"

#include <immintrin.h>

#include <algorithm>

namespace {

// opCount holds, per job, the routing index of its next operation and fill, per machine, the cell
// its next entry goes to, so each gene costs two lookups and no multiplication.
template <class Cell>
void decodeInto(const float* genes, const Instance& instance, Cell* out, SequenceScratch& scratch) {
  const int jobs = instance.jobs;
  const int machines = instance.machines;
  const int geneCount = instance.geneCount();
  scratch.opCount.resize(static_cast<size_t>(jobs) + 1);
  scratch.fill.resize(static_cast<size_t>(machines) + 1);
  for (int j = 1; j <= jobs; ++j) scratch.opCount[static_cast<size_t>(j)] = (j - 1) * machines;
  for (int m = 1; m <= machines; ++m) scratch.fill[static_cast<size_t>(m)] = (m - 1) * jobs;
  std::fill(out, out + geneCount, Cell{0});
  int* nextOperation = scratch.opCount.data();
  int* nextCell = scratch.fill.data();
  const int* routing = instance.routing.data();
  for (int k = 0; k < geneCount; ++k) {
    const int j = static_cast<int>(genes[k]);
    const int m = routing[nextOperation[j]++];
    out[nextCell[m]++] = static_cast<Cell>(j);
  }
}

}  // namespace

void decodeMachineSequences(const float* genes, const Instance& instance, float* out,
                            SequenceScratch& scratch) {
  decodeInto(genes, instance, out, scratch);
}

void decodeMachineSequences(const float* genes, const Instance& instance, SequenceCell* out,
                            SequenceScratch& scratch) {
  decodeInto(genes, instance, out, scratch);
}

int scheduleDistance(const float* genesA, const float* genesB, const Instance& instance,
                     SequenceScratch& scratch) {
  const int geneCount = instance.geneCount();
  scratch.first.resize(static_cast<size_t>(geneCount));
  scratch.second.resize(static_cast<size_t>(geneCount));
  decodeMachineSequences(genesA, instance, scratch.first.data(), scratch);
  decodeMachineSequences(genesB, instance, scratch.second.data(), scratch);
  int same = 0;
  for (int c = 0; c < geneCount; ++c)
    same += scratch.first[static_cast<size_t>(c)] == scratch.second[static_cast<size_t>(c)];
  return geneCount - same;
}

namespace {

// The hottest loop of the niching steps. Differences are summed in 16-bit lanes, flushed before a
// lane could overflow, so the compiler compares as many cells per instruction as the vector unit
// holds; the callers' clones pick the widest unit of the machine at load time.
inline int countDiffering(const SequenceCell* a, const SequenceCell* b, int length) {
  constexpr int kFlush = 32768;
  int differing = 0;
  for (int start = 0; start < length; start += kFlush) {
    const int end = std::min(length, start + kFlush);
    std::uint16_t run = 0;
    for (int c = start; c < end; ++c) run = static_cast<std::uint16_t>(run + (a[c] != b[c]));
    differing += run;
  }
  return differing;
}

}  // namespace

namespace {

// The same count for padded rows with AVX2, written out: equal cells are counted per 16-bit lane
// (flushed before a lane could pass 32767, which the pairwise add reads as signed) and the
// differing ones are what is left of the row. Padding cells are equal, so they never count.
__attribute__((target("avx2"))) int paddedDistanceAvx2(const SequenceCell* a, const SequenceCell* b,
                                                       int stride) {
  constexpr int kFlushCells = 32767 * kSequenceBlock;
  const __m256i ones = _mm256_set1_epi16(1);
  __m256i equal32 = _mm256_setzero_si256();
  for (int start = 0; start < stride; start += kFlushCells) {
    const int end = std::min(stride, start + kFlushCells);
    __m256i equal16 = _mm256_setzero_si256();
    for (int c = start; c < end; c += kSequenceBlock) {
      const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + c));
      const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + c));
      equal16 = _mm256_sub_epi16(equal16, _mm256_cmpeq_epi16(x, y));
    }
    equal32 = _mm256_add_epi32(equal32, _mm256_madd_epi16(equal16, ones));
  }
  __m128i sum =
      _mm_add_epi32(_mm256_castsi256_si128(equal32), _mm256_extracti128_si256(equal32, 1));
  sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, 0x4E));
  sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, 0xB1));
  return stride - _mm_cvtsi128_si32(sum);
}

const bool kHasAvx2 = __builtin_cpu_supports("avx2");

}  // namespace

void rowDistances(const SequenceCell* row, const SequenceTable& table, const int* rows, int count,
                  int* out) {
  if (kHasAvx2) {
    for (int e = 0; e < count; ++e)
      out[e] = paddedDistanceAvx2(row, table.row(rows[e]), table.stride);
  } else {
    for (int e = 0; e < count; ++e) out[e] = countDiffering(row, table.row(rows[e]), table.stride);
  }
}

__attribute__((target_clones("avx2", "default"))) int sequenceDistance(const SequenceCell* a,
                                                                       const SequenceCell* b,
                                                                       int length) {
  return countDiffering(a, b, length);
}

void decodePopulationSequences(const Population& pop, const Instance& instance,
                               SequenceTable& table, SequenceScratch& scratch) {
  table.resize(pop.size, pop.geneCount);
  for (int k = 0; k < pop.size; ++k)
    decodeMachineSequences(pop.genes(k), instance, table.row(k), scratch);
}
