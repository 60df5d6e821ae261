// Counting-sort construction of the operation index.
#include "variation/operation_index.h"

#include <algorithm>

namespace {

int jobSlot(float gene) { return std::max(0, jobOf(gene)); }

}  // namespace

void indexOperations(OperationIndex& index, const float* genes, int geneCount, int start) {
  int jobs = 0;
  for (int k = 0; k < geneCount; ++k) jobs = std::max(jobs, jobSlot(genes[k]));
  const size_t jobEntries = static_cast<size_t>(jobs) + 1;
  index.counts.assign(jobEntries, 0);
  for (int k = 0; k < geneCount; ++k) ++index.counts[static_cast<size_t>(jobSlot(genes[k]))];
  index.firstSlot.resize(jobEntries + 1);
  index.firstSlot[0] = 0;
  for (size_t g = 0; g < jobEntries; ++g)
    index.firstSlot[g + 1] = index.firstSlot[g] + index.counts[g];

  std::fill(index.counts.begin(), index.counts.end(), 0);
  index.position.resize(static_cast<size_t>(geneCount));
  index.occurrence.resize(static_cast<size_t>(geneCount));
  int k = start > 0 && start < geneCount ? start : 0;
  for (int read = 0; read < geneCount; ++read, ++k) {
    if (k >= geneCount) k = 0;
    const size_t g = static_cast<size_t>(jobSlot(genes[k]));
    const int c = ++index.counts[g];
    index.occurrence[static_cast<size_t>(k)] = c;
    index.position[static_cast<size_t>(index.firstSlot[g] + c - 1)] = k;
  }
}
