// Operation numbering by one running cursor per job.
#include "variation/operation_index.h"

namespace jobshop {

OperationShape operationShape(const float* genes, int geneCount) {
  OperationShape shape;
  shape.geneCount = std::max(geneCount, 0);
  // Taken over the genes as integers, which vectorises.
  int largest = 1;
  for (int k = 0; k < geneCount; ++k) {
    const int job = static_cast<int>(genes[k]);
    largest = job > largest ? job : largest;
  }
  shape.jobs = std::min(largest, std::max(shape.geneCount, 1));
  shape.machines = shape.geneCount / shape.jobs;
  return shape;
}

int* startNumbering(const OperationShape& shape, OperationIndex& index) {
  index.nextNumber.resize(static_cast<std::size_t>(shape.jobs) + 1);
  index.number.resize(static_cast<std::size_t>(shape.geneCount));
  for (int g = 1; g <= shape.jobs; ++g)
    index.nextNumber[static_cast<std::size_t>(g)] = firstNumber(g, shape);
  return index.nextNumber.data();
}

void numberOperations(const float* genes, const OperationShape& shape, int start,
                      OperationIndex& index) {
  const int geneCount = shape.geneCount;
  int* nextNumber = startNumbering(shape, index);
  int* number = index.number.data();
  // A job with more than M genes runs into the next job's numbers but, starting at most at L - M,
  // stays below 2L.
  const int first = start > 0 && start < geneCount ? start : 0;
  for (int k = first; k < geneCount; ++k) number[k] = nextNumber[jobSlot(genes[k], shape)]++;
  for (int k = 0; k < first; ++k) number[k] = nextNumber[jobSlot(genes[k], shape)]++;
}

void locateOperations(const OperationShape& shape, OperationIndex& index) {
  index.position.resize(static_cast<std::size_t>(operationNumberLimit(shape)));
  const int* number = index.number.data();
  int* position = index.position.data();
  for (int k = 0; k < shape.geneCount; ++k) position[number[k]] = k;
}

}  // namespace jobshop
