// Machine sequences: the order in which every machine processes the jobs, and the distance between
// two schedules as the number of (machine, position) cells whose jobs differ.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "input/instance.h"
#include "model/population.h"

namespace jobshop {

// Working arrays of the decoder and the two decoded rows of a distance, kept between calls.
struct SequenceScratch {
  std::vector<int> opCount;
  std::vector<int> fill;
  std::vector<float> first;
  std::vector<float> second;
};

// Fills out[0..L) with the machine sequences of the L genes at `genes`: cell (m-1)*J + p holds the
// job processed (p+1)-th on machine m. Any other genes or routing never lead outside the L cells.
void decodeMachineSequences(const float* genes, const Instance& instance, float* out,
                            SequenceScratch& scratch);

// Number of cells (0..L) in which the machine sequences of the two chromosomes differ; 0 exactly
// when both have the same machine orders. Decodes both afresh.
int scheduleDistance(const float* genesA, const float* genesB, const Instance& instance,
                     SequenceScratch& scratch);

// Decoded machine sequences kept beside the individuals they belong to, one row of L cells per
// individual, so that a distance is one comparison of two rows instead of two decodings. A cell
// holds a job number in one byte when every job number fits one (at most 255 jobs) and in two
// otherwise (the instance reader refuses more jobs than two bytes hold): the narrower the cells,
// the more of them one vector comparison covers.
inline constexpr int kSequenceBlock = 32;  // row bytes are padded to a multiple of this

inline int sequenceCellBytes(int jobs) { return jobs <= 255 ? 1 : 2; }

struct SequenceTable {
  int rowLength = 0;  // L cells of sequences
  int cellBytes = 1;  // 1 or 2
  // Bytes per row: L cells rounded up to a whole number of vector blocks. The padding stays 0 in
  // every row, so comparing whole rows counts exactly the differing sequence cells.
  int stride = 0;
  std::vector<std::uint8_t> bytes;

  // Keeps the bytes when the shape is unchanged; decoding rewrites every sequence cell anyway.
  void resize(int rows, int length, int jobs) {
    const int width = sequenceCellBytes(jobs);
    const int padded = (length * width + kSequenceBlock - 1) / kSequenceBlock * kSequenceBlock;
    const std::size_t size = static_cast<std::size_t>(rows) * static_cast<std::size_t>(padded);
    if (length == rowLength && width == cellBytes && bytes.size() == size) return;
    rowLength = length;
    cellBytes = width;
    stride = padded;
    bytes.assign(size, 0);
  }
  std::uint8_t* row(int r) { return bytes.data() + static_cast<std::size_t>(r) * stride; }
  const std::uint8_t* row(int r) const {
    return bytes.data() + static_cast<std::size_t>(r) * stride;
  }
};

// The same cells as decodeMachineSequences, written into a padded row of cellBytes-wide cells.
void decodeSequenceRow(const float* genes, const Instance& instance, int cellBytes,
                       std::uint8_t* row, SequenceScratch& scratch);

// Decodes every individual of pop into its row of table (resized to pop's shape).
void decodePopulationSequences(const Population& pop, const Instance& instance,
                               SequenceTable& table, SequenceScratch& scratch);

// out[e] = the distance between `row` and row rows[e] of table, for e = 0..count-1: one call for a
// whole replacement draw, which saves the per-call cost of comparing short rows one by one. `row`
// is padded like the table's rows.
void rowDistances(const std::uint8_t* row, const SequenceTable& table, const int* rows, int count,
                  int* out);

// Copies row `from` of source over row `to` of target (a table of the same shape).
inline void copySequenceRow(const SequenceTable& source, int from, SequenceTable& target, int to) {
  const std::uint8_t* begin = source.row(from);
  std::copy(begin, begin + source.stride, target.row(to));
}

// Number of cells in which rows r and s of two tables of the same shape differ.
int rowDistance(const SequenceTable& a, int r, const SequenceTable& b, int s);

// The vector units a row comparison can use. The widest the machine has is chosen at load time;
// naming one lets a test compare every unit the machine has with the literal distance.
enum class VectorUnit { generic, avx2, avx512 };
VectorUnit widestVectorUnit();
void rowDistancesUsing(VectorUnit unit, const std::uint8_t* row, const SequenceTable& table,
                       const int* rows, int count, int* out);

}  // namespace jobshop
