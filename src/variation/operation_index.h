// Operation identity of a chromosome: the occurrence number of every gene and the position of every
// (job, occurrence) pair, so that crossovers find a gene's partner in the other parent in O(1).
#pragma once

#include <cstddef>
#include <vector>

// Built by indexOperations for one gene sequence read in a given order.
struct OperationIndex {
  std::vector<int> counts;      // per job 0..J, working counts of the build
  std::vector<int> firstSlot;   // J + 2 entries: job g owns slots firstSlot[g]..firstSlot[g+1]-1
  std::vector<int> position;    // L entries: position[firstSlot[g] + c - 1] holds operation (g, c)
  std::vector<int> occurrence;  // L entries: the c of the gene at each position
};

// A gene used as a job number (truncation toward zero).
inline int jobOf(float gene) { return static_cast<int>(gene); }

// Indexes the geneCount genes read from position `start` to L-1 and then from 0 to start-1, so
// occurrence numbers follow that reading order. Grows the index's arrays only when they are too
// small. Genes below 1 are filed under job 0; no array is read or written outside its bounds.
void indexOperations(OperationIndex& index, const float* genes, int geneCount, int start);

// Position of operation (job, occurrence) in the indexed sequence, or -1 when it holds no such
// operation (which never happens between two valid chromosomes).
inline int positionOf(const OperationIndex& index, int job, int occurrence) {
  if (job < 0 || job + 1 >= static_cast<int>(index.firstSlot.size()) || occurrence < 1) return -1;
  const int slot = index.firstSlot[static_cast<std::size_t>(job)] + occurrence - 1;
  if (slot >= index.firstSlot[static_cast<std::size_t>(job) + 1]) return -1;
  return index.position[static_cast<std::size_t>(slot)];
}
