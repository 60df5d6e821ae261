// Machine sequences: the order in which every machine processes the jobs, and the distance between
// two schedules as the number of (machine, position) cells whose jobs differ.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "input/instance.h"
#include "model/population.h"

// Working arrays of the decoder and the two decoded rows of a distance, kept between calls.
struct SequenceScratch {
  std::vector<int> opCount;
  std::vector<int> fill;
  std::vector<float> first;
  std::vector<float> second;
};

// Fills out[0..L) with the machine sequences of the L genes at `genes`: cell (m-1)*J + p holds the
// job processed (p+1)-th on machine m. Assumes a valid chromosome and instance.
void decodeMachineSequences(const float* genes, const Instance& instance, float* out,
                            SequenceScratch& scratch);

// Number of cells (0..L) in which the machine sequences of the two chromosomes differ; 0 exactly
// when both have the same machine orders. Decodes both afresh.
int scheduleDistance(const float* genesA, const float* genesB, const Instance& instance,
                     SequenceScratch& scratch);

// Decoded machine sequences kept beside the individuals they belong to, one row of L cells per
// individual, so that a distance is one comparison of two rows instead of two decodings. Job
// numbers fit 16 bits (the instance reader refuses more jobs), which lets the comparison vectorise.
using SequenceCell = std::uint16_t;
inline constexpr int kSequenceBlock = 16;

struct SequenceTable {
  int rowLength = 0;  // L cells of sequences
  // Cells per row: L rounded up to a whole number of vector blocks. The padding cells stay 0 in
  // every row, so comparing whole rows counts exactly the differing sequence cells.
  int stride = 0;
  std::vector<SequenceCell> cells;

  // Keeps the cells when the shape is unchanged; decoding rewrites every sequence cell anyway.
  void resize(int rows, int length) {
    const int paddedLength = (length + kSequenceBlock - 1) / kSequenceBlock * kSequenceBlock;
    if (length == rowLength &&
        cells.size() == static_cast<std::size_t>(rows) * static_cast<std::size_t>(paddedLength))
      return;
    rowLength = length;
    stride = (length + kSequenceBlock - 1) / kSequenceBlock * kSequenceBlock;
    cells.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(stride), 0);
  }
  SequenceCell* row(int r) { return cells.data() + static_cast<std::size_t>(r) * stride; }
  const SequenceCell* row(int r) const {
    return cells.data() + static_cast<std::size_t>(r) * stride;
  }
};

// Number of cells in which rows r and s of two tables of the same shape differ.
inline int rowDistance(const SequenceTable& a, int r, const SequenceTable& b, int s);

// The same cells as decodeMachineSequences, as 16-bit job numbers.
void decodeMachineSequences(const float* genes, const Instance& instance, SequenceCell* out,
                            SequenceScratch& scratch);

// Number of cells in which two decoded rows of `length` cells differ: the schedule distance.
int sequenceDistance(const SequenceCell* a, const SequenceCell* b, int length);

// Decodes every individual of pop into its row of table (resized to pop's shape).
void decodePopulationSequences(const Population& pop, const Instance& instance,
                               SequenceTable& table, SequenceScratch& scratch);

// out[e] = the distance between `row` and row rows[e] of table, for e = 0..count-1: one call for a
// whole replacement draw, which saves the per-call cost of comparing short rows one by one. `row`
// is padded like the table's rows.
void rowDistances(const SequenceCell* row, const SequenceTable& table, const int* rows, int count,
                  int* out);

// Copies row `from` of source over row `to` of target.
inline void copySequenceRow(const SequenceTable& source, int from, SequenceTable& target, int to) {
  const SequenceCell* begin = source.row(from);
  std::copy(begin, begin + source.stride, target.row(to));
}

inline int rowDistance(const SequenceTable& a, int r, const SequenceTable& b, int s) {
  return sequenceDistance(a.row(r), b.row(s), a.stride);
}
