// Operation identity of a chromosome as one number per gene, so that crossovers pair up the genes
// of two parents by comparing or looking up numbers instead of scanning for them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace jobshop {

// The J and M of the chromosomes a crossover works on, read off its genes.
struct OperationShape {
  int geneCount = 0;  // L
  int jobs = 1;       // J, the largest job number, kept within 1..max(L, 1)
  int machines = 0;   // M = L / J
};

// The numbers of one gene sequence and, once located, where each number stands.
struct OperationIndex {
  std::vector<int> nextNumber;  // per job 1..J, working cursor of the numbering
  std::vector<int> number;      // L entries: the operation number of the gene at each position
  std::vector<int> position;    // operationNumberLimit entries: the position of each number
};

// J as the largest job number among the genes (clamped to 1..L) and M = L / J.
OperationShape operationShape(const float* genes, int geneCount);

// Every number numberOperations gives is below this, for any genes: 2L (valid chromosomes use
// exactly 0..L-1), so tables indexed by number need no other check.
inline int operationNumberLimit(const OperationShape& shape) { return 2 * shape.geneCount; }

// A gene used as a job number (truncation toward zero), kept within 1..J so that a gene that names
// no job still indexes per-job tables safely.
inline int jobSlot(float gene, const OperationShape& shape) {
  return std::clamp(static_cast<int>(gene), 1, shape.jobs);
}

// Number of operation (job, 1): operation (g, c) is numbered firstNumber(g) + c - 1.
inline int firstNumber(int job, const OperationShape& shape) { return (job - 1) * shape.machines; }

// Sizes index for the shape and sets every job's cursor to its first number; returns the cursors,
// indexed by jobSlot, for a caller that numbers genes itself (cursors[slot]++ per gene, in reading
// order) while doing other work in the same pass.
int* startNumbering(const OperationShape& shape, OperationIndex& index);

// Numbers the L genes read from position `start` to L-1 and then from 0 to start-1: the gene that
// is job g's c-th in that reading order gets (g-1)*M + c-1. Two valid chromosomes thus give the
// same operation the same number, and each of them uses every number 0..L-1 exactly once.
void numberOperations(const float* genes, const OperationShape& shape, int start,
                      OperationIndex& index);

// Fills index.position from index.number (after numberOperations).
void locateOperations(const OperationShape& shape, OperationIndex& index);

// Position of the operation numbered `number` in the located sequence, or -1 when no gene there
// has that number (which never happens between two valid chromosomes).
inline int positionOf(const OperationIndex& index, int number) {
  const int p = index.position[static_cast<std::size_t>(number)];
  return p >= 0 && p < static_cast<int>(index.number.size()) &&
                 index.number[static_cast<std::size_t>(p)] == number
             ? p
             : -1;
}

}  // namespace jobshop
