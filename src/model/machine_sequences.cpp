// Decoding into machine sequences and the cell-count distance.
#include "model/machine_sequences.h"

#include <algorithm>

namespace {

template <class Cell>
void decodeInto(const float* genes, const Instance& instance, Cell* out, SequenceScratch& scratch) {
  const int jobs = instance.jobs;
  const int geneCount = instance.geneCount();
  scratch.opCount.assign(static_cast<size_t>(jobs) + 1, 0);
  scratch.fill.assign(static_cast<size_t>(instance.machines) + 1, 0);
  std::fill(out, out + geneCount, Cell{0});
  for (int k = 0; k < geneCount; ++k) {
    const int j = static_cast<int>(genes[k]);
    const int m = instance.machineOf(j, ++scratch.opCount[static_cast<size_t>(j)]);
    out[(m - 1) * jobs + scratch.fill[static_cast<size_t>(m)]++] = static_cast<Cell>(j);
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

int sequenceDistance(const SequenceCell* a, const SequenceCell* b, int length) {
  // Summing 0/1 differences in a plain loop lets the compiler compare many cells per instruction.
  int differing = 0;
  for (int c = 0; c < length; ++c) differing += a[c] != b[c];
  return differing;
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

void decodePopulationSequences(const Population& pop, const Instance& instance,
                               SequenceTable& table, SequenceScratch& scratch) {
  table.resize(pop.size, pop.geneCount);
  for (int k = 0; k < pop.size; ++k)
    decodeMachineSequences(pop.genes(k), instance, table.row(k), scratch);
}
