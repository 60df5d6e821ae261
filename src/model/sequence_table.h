// Decoded machine sequences kept beside the individuals they belong to, one row of L cells per
// individual, so that a distance is one comparison of two rows instead of two decodings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "input/instance.h"
#include "model/machine_sequences.h"
#include "model/population.h"

namespace jobshop {

// Row bytes are padded to a multiple of this, the width of one vector comparison.
inline constexpr int kSequenceBlock = 32;

// A cell holds a job number in one byte when every job number fits one (at most 255 jobs) and in
// two otherwise (the instance reader refuses more jobs than two bytes hold): the narrower the
// cells, the more of them one vector comparison covers.
int sequenceCellBytes(int jobs);

struct SequenceTable {
  int rowLength = 0;  // L cells of sequences
  int cellBytes = 1;  // 1 or 2
  // Bytes per row: L cells rounded up to a whole number of vector blocks. The padding stays 0 in
  // every row, so comparing whole rows counts exactly the differing sequence cells.
  int stride = 0;
  std::vector<std::uint8_t> bytes;

  // Keeps the bytes when the shape is unchanged; decoding rewrites every sequence cell anyway.
  void resize(int rows, int length, int jobs);

  std::uint8_t* row(int r) { return bytes.data() + static_cast<std::size_t>(r) * stride; }
  const std::uint8_t* row(int r) const {
    return bytes.data() + static_cast<std::size_t>(r) * stride;
  }
};

// Decodes every individual of pop into its row of table (resized to pop's shape).
void decodePopulationSequences(const Population& pop, const Instance& instance,
                               SequenceTable& table, SequenceScratch& scratch);

// Copies row `from` of source over row `to` of target (a table of the same shape).
void copySequenceRow(const SequenceTable& source, int from, SequenceTable& target, int to);

// out[e] = the distance between `row` and row rows[e] of table, for e = 0..count-1: one call for a
// whole replacement draw, which saves the per-call cost of comparing short rows one by one. `row`
// is padded like the table's rows.
void rowDistances(const std::uint8_t* row, const SequenceTable& table, const int* rows, int count,
                  int* out);

// Number of cells in which rows r and s of two tables of the same shape differ.
int rowDistance(const SequenceTable& a, int r, const SequenceTable& b, int s);

}  // namespace jobshop
