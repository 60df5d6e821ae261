// The hottest loops of the niching steps, written out for AVX2 and AVX-512. Each kernel is
// compiled for its unit alone (a target attribute), so the program still runs on processors
// without it, where widestX86Unit never picks it.
#include "model/row_kernels_x86.h"

#if JOBSHOP_X86_KERNELS

#include <immintrin.h>

#include <algorithm>

namespace jobshop::detail {

namespace {

// Equal cells are counted per lane of the cell's width and flushed into wider sums before a lane
// could overflow; the differing cells are what is left of the row. Padding cells are equal, so
// they never count.
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
  __m128i sum =
      _mm_add_epi64(_mm256_castsi256_si128(equal64), _mm256_extracti128_si256(equal64, 1));
  sum = _mm_add_epi64(sum, _mm_unpackhi_epi64(sum, sum));
  // The total is at most the stride, an int, so its low 32 bits are all of it (and reading them
  // needs no 64-bit register, which a 32-bit x86 build lacks).
  return stride - _mm_cvtsi128_si32(sum);
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
      equal += __builtin_popcountll(_mm512_cmpeq_epi8_mask(x, y));
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

}  // namespace

VectorUnit widestX86Unit() {
  if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
      __builtin_cpu_supports("popcnt"))
    return VectorUnit::avx512;
  if (__builtin_cpu_supports("avx2")) return VectorUnit::avx2;
  return VectorUnit::generic;
}

__attribute__((target("avx2"))) int rowDistanceAvx2(const std::uint8_t* a, const std::uint8_t* b,
                                                    int stride, int cellBytes) {
  return cellBytes == 1 ? byteDistanceAvx2(a, b, stride) : wordDistanceAvx2(a, b, stride);
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

__attribute__((target("avx512f,avx512bw,avx512vl,popcnt"))) int rowDistanceAvx512(
    const std::uint8_t* a, const std::uint8_t* b, int stride, int cellBytes) {
  return cellBytes == 1 ? distanceAvx512<1>(a, b, stride) : distanceAvx512<2>(a, b, stride);
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

}  // namespace jobshop::detail

#endif
