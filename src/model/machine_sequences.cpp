// Decoding into machine sequences and the cell-count distance.
#include "model/machine_sequences.h"

#include <algorithm>

void decodeMachineSequences(const float* genes, const Instance& instance, float* out,
                            SequenceScratch& scratch) {
  const int jobs = instance.jobs;
  const int geneCount = instance.geneCount();
  scratch.opCount.assign(static_cast<size_t>(jobs) + 1, 0);
  scratch.fill.assign(static_cast<size_t>(instance.machines) + 1, 0);
  std::fill(out, out + geneCount, 0.0f);
  for (int k = 0; k < geneCount; ++k) {
    const int j = static_cast<int>(genes[k]);
    const int m = instance.machineOf(j, ++scratch.opCount[static_cast<size_t>(j)]);
    out[(m - 1) * jobs + scratch.fill[static_cast<size_t>(m)]++] = static_cast<float>(j);
  }
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
