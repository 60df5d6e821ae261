// The table of decoded rows: its shape, and filling and copying rows. The distances between rows
// are in model/row_kernels.cpp, beside the loops they choose among.
#include "model/sequence_table.h"

#include <algorithm>

namespace jobshop {

int sequenceCellBytes(int jobs) { return jobs <= 255 ? 1 : 2; }

void SequenceTable::resize(int rows, int length, int jobs) {
  const int width = sequenceCellBytes(jobs);
  const int padded = (length * width + kSequenceBlock - 1) / kSequenceBlock * kSequenceBlock;
  const std::size_t size = static_cast<std::size_t>(rows) * static_cast<std::size_t>(padded);
  if (length == rowLength && width == cellBytes && bytes.size() == size) return;
  rowLength = length;
  cellBytes = width;
  stride = padded;
  bytes.assign(size, 0);
}

void decodePopulationSequences(const Population& pop, const Instance& instance,
                               SequenceTable& table, SequenceScratch& scratch) {
  table.resize(pop.size, pop.geneCount, instance.jobs);
  for (int k = 0; k < pop.size; ++k)
    decodeSequenceRow(pop.genes(k), instance, table.cellBytes, table.row(k), scratch);
}

void copySequenceRow(const SequenceTable& source, int from, SequenceTable& target, int to) {
  const std::uint8_t* begin = source.row(from);
  std::copy(begin, begin + source.stride, target.row(to));
}

}  // namespace jobshop
