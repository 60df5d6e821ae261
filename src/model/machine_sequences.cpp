// Decoding chromosomes into machine sequences.
#include "model/machine_sequences.h"

#include <algorithm>
#include <cstddef>

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
  scratch.opCount.resize(static_cast<std::size_t>(jobs) + 1);
  scratch.fill.resize(static_cast<std::size_t>(machines) + 1);
  for (int j = 1; j <= jobs; ++j) scratch.opCount[static_cast<std::size_t>(j)] = (j - 1) * machines;
  for (int m = 1; m <= machines; ++m) scratch.fill[static_cast<std::size_t>(m)] = (m - 1) * jobs;
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

void decodeSequenceRow(const float* genes, const Instance& instance, int cellBytes,
                       std::uint8_t* row, SequenceScratch& scratch) {
  if (cellBytes == 1)
    decodeInto(genes, instance, row, scratch);
  else
    decodeInto(genes, instance, reinterpret_cast<std::uint16_t*>(row), scratch);
}

int scheduleDistance(const float* genesA, const float* genesB, const Instance& instance,
                     SequenceScratch& scratch) {
  const auto geneCount = static_cast<std::size_t>(instance.geneCount());
  scratch.first.resize(geneCount);
  scratch.second.resize(geneCount);
  decodeMachineSequences(genesA, instance, scratch.first.data(), scratch);
  decodeMachineSequences(genesB, instance, scratch.second.data(), scratch);
  std::size_t same = 0;
  for (std::size_t c = 0; c < geneCount; ++c) same += scratch.first[c] == scratch.second[c];
  return static_cast<int>(geneCount - same);
}

}  // namespace jobshop
