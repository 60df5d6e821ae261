// Decoding into machine sequences and the cell-count distance.
#include "model/machine_sequences.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>

namespace jobshop {

namespace {

// opCount holds, per job, the routing index of its next operation and fill, per machine, the cell
// its next entry goes to, so each gene costs two lookups and no multiplication. A gene naming no
// job, a job with more than M genes or a machine with more than J operations (none of which a
// valid chromosome has) is kept within the tables and the L cells.
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
    const int j = std::clamp(static_cast<int>(genes[k]), 1, jobs);
    const int m = std::clamp(routing[std::min(nextOperation[j]++, geneCount - 1)], 1, machines);
    out[std::min(nextCell[m]++, geneCount - 1)] = static_cast<Cell>(j);
  }
}

}  // namespace

void decodeMachineSequences(const float* genes, const Instance& instance, float* out,
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

// The generic count, per cell, for machines without AVX2. Cells are read with memcpy because a
// row's bytes hold them.
template <class Cell>
int countDiffering(const std::uint8_t* a, const std::uint8_t* b, int stride) {
  int differing = 0;
  for (int c = 0; c < stride; c += static_cast<int>(sizeof(Cell))) {
    Cell x, y;
    std::memcpy(&x, a + c, sizeof(Cell));
    std::memcpy(&y, b + c, sizeof(Cell));
    differing += x != y;
  }
  return differing;
}

// The hottest loop of the niching steps, written out for AVX2: equal cells are counted per lane
// of the cell's width and flushed into wider sums before a lane could overflow; the differing
// cells are what is left of the row. Padding cells are equal, so they never count.
__attribute__((target("avx2"))) inline __m256i equalBytesAvx2(const std::uint8_t* a,
                                                              const std::uint8_t* b, int begin,
                                                              int end) {
  __m256i equal8 = _mm256_setzero_si256();
  for (int c = begin; c < end; c += kSequenceBlock) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + c));
    const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + c));
    equal8 = _mm256_sub_epi8(equal8, _mm256_cmpeq_epi8(x, y));
  }
  return _mm256_sad_epu8(equal8, _mm256_setzero_si256());
}

__attribute__((target("avx2"))) inline int byteDistanceAvx2(const std::uint8_t* a,
                                                            const std::uint8_t* b, int stride) {
  constexpr int kFlushBytes = 255 * kSequenceBlock;
  // Rows of up to 8,160 cells, all the common sizes, need no flush.
  __m256i equal64 = equalBytesAvx2(a, b, 0, std::min(stride, kFlushBytes));
  for (int start = kFlushBytes; start < stride; start += kFlushBytes)
    equal64 = _mm256_add_epi64(equal64,
                               equalBytesAvx2(a, b, start, std::min(stride, start + kFlushBytes)));
  const __m128i sum =
      _mm_add_epi64(_mm256_castsi256_si128(equal64), _mm256_extracti128_si256(equal64, 1));
  const long long equal = _mm_cvtsi128_si64(sum) + _mm_extract_epi64(sum, 1);
  return stride - static_cast<int>(equal);
}

__attribute__((target("avx2"))) inline int wordDistanceAvx2(const std::uint8_t* a,
                                                            const std::uint8_t* b, int stride) {
  constexpr int kFlushBytes = 32767 * kSequenceBlock;  // the pairwise add reads lanes as signed
  const __m256i ones = _mm256_set1_epi16(1);
  __m256i equal32 = _mm256_setzero_si256();
  for (int start = 0; start < stride; start += kFlushBytes) {
    const int end = std::min(stride, start + kFlushBytes);
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
  return stride / 2 - _mm_cvtsi128_si32(sum);
}

// With AVX-512 a compare gives a bit mask whose population count is the number of equal cells, 64
// bytes at a time; a row's last 32 bytes, when its stride is not a multiple of 64, take a 256-bit
// compare.
template <int kCellBytes>
__attribute__((target("avx512f,avx512bw,avx512vl,popcnt"))) inline int distanceAvx512(
    const std::uint8_t* a, const std::uint8_t* b, int stride) {
  int equal = 0;
  int c = 0;
  for (; c + 64 <= stride; c += 64) {
    const __m512i x = _mm512_loadu_si512(a + c);
    const __m512i y = _mm512_loadu_si512(b + c);
    if constexpr (kCellBytes == 1)
      equal += static_cast<int>(__builtin_popcountll(_mm512_cmpeq_epi8_mask(x, y)));
    else
      equal += __builtin_popcount(_mm512_cmpeq_epi16_mask(x, y));
  }
  if (c < stride) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + c));
    const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + c));
    if constexpr (kCellBytes == 1)
      equal += __builtin_popcount(_mm256_cmpeq_epi8_mask(x, y));
    else
      equal += __builtin_popcount(_mm256_cmpeq_epi16_mask(x, y));
  }
  return stride / kCellBytes - equal;
}

__attribute__((target("avx512f,avx512bw,avx512vl,popcnt"))) void rowDistancesAvx512(
    const std::uint8_t* row, const SequenceTable& table, const int* rows, int count, int* out) {
  if (table.cellBytes == 1) {
    for (int e = 0; e < count; ++e)
      out[e] = distanceAvx512<1>(row, table.row(rows[e]), table.stride);
  } else {
    for (int e = 0; e < count; ++e)
      out[e] = distanceAvx512<2>(row, table.row(rows[e]), table.stride);
  }
}

__attribute__((target("avx2"))) void rowDistancesAvx2(const std::uint8_t* row,
                                                      const SequenceTable& table, const int* rows,
                                                      int count, int* out) {
  if (table.cellBytes == 1) {
    for (int e = 0; e < count; ++e)
      out[e] = byteDistanceAvx2(row, table.row(rows[e]), table.stride);
  } else {
    for (int e = 0; e < count; ++e)
      out[e] = wordDistanceAvx2(row, table.row(rows[e]), table.stride);
  }
}

void rowDistancesGeneric(const std::uint8_t* row, const SequenceTable& table, const int* rows,
                         int count, int* out) {
  for (int e = 0; e < count; ++e) {
    out[e] = table.cellBytes == 1
                 ? countDiffering<std::uint8_t>(row, table.row(rows[e]), table.stride)
                 : countDiffering<std::uint16_t>(row, table.row(rows[e]), table.stride);
  }
}

VectorUnit widestUnit() {
  if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
      __builtin_cpu_supports("popcnt"))
    return VectorUnit::avx512;
  if (__builtin_cpu_supports("avx2")) return VectorUnit::avx2;
  return VectorUnit::generic;
}

const VectorUnit kWidestUnit = widestUnit();

}  // namespace

void decodeSequenceRow(const float* genes, const Instance& instance, int cellBytes,
                       std::uint8_t* row, SequenceScratch& scratch) {
  if (cellBytes == 1)
    decodeInto(genes, instance, row, scratch);
  else
    decodeInto(genes, instance, reinterpret_cast<std::uint16_t*>(row), scratch);
}

VectorUnit widestVectorUnit() { return kWidestUnit; }

void rowDistancesUsing(VectorUnit unit, const std::uint8_t* row, const SequenceTable& table,
                       const int* rows, int count, int* out) {
  switch (unit) {
    case VectorUnit::avx512:
      return rowDistancesAvx512(row, table, rows, count, out);
    case VectorUnit::avx2:
      return rowDistancesAvx2(row, table, rows, count, out);
    default:
      return rowDistancesGeneric(row, table, rows, count, out);
  }
}

void rowDistances(const std::uint8_t* row, const SequenceTable& table, const int* rows, int count,
                  int* out) {
  rowDistancesUsing(kWidestUnit, row, table, rows, count, out);
}

int rowDistance(const SequenceTable& a, int r, const SequenceTable& b, int s) {
  int distance = 0;
  rowDistancesUsing(kWidestUnit, a.row(r), b, &s, 1, &distance);
  return distance;
}

void decodePopulationSequences(const Population& pop, const Instance& instance,
                               SequenceTable& table, SequenceScratch& scratch) {
  table.resize(pop.size, pop.geneCount, instance.jobs);
  for (int k = 0; k < pop.size; ++k)
    decodeSequenceRow(pop.genes(k), instance, table.cellBytes, table.row(k), scratch);
}

}  // namespace jobshop
