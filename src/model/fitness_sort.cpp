// Stable sorting by makespan and the reordering of a whole population.
#include "model/fitness_sort.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace jobshop {

namespace {

// Insertion sort takes one step per inversion: the fastest for the small, nearly sorted
// populations of a usual run, but time quadratic in the size for a large one, during which a stop
// asked of the run would wait. Above this size a merge sort gives the same stable order.
constexpr int kInsertionSortLimit = 1024;

void mergeSortByFitness(int* indices, float* values, int n) {
  std::vector<int> from(static_cast<std::size_t>(n));
  std::iota(from.begin(), from.end(), 0);
  std::stable_sort(from.begin(), from.end(),
                   [values](int a, int b) { return values[a] < values[b]; });
  const std::vector<float> keys(values, values + n);
  const std::vector<int> carried(indices, indices + n);
  for (std::size_t r = 0; r < from.size(); ++r) {
    values[r] = keys[static_cast<std::size_t>(from[r])];
    indices[r] = carried[static_cast<std::size_t>(from[r])];
  }
}

}  // namespace

void sortByFitness(int* indices, float* values, int n) {
  if (n > kInsertionSortLimit) return mergeSortByFitness(indices, values, n);
  for (int i = 1; i < n; ++i) {
    const float key = values[i];
    const int index = indices[i];
    int j = i - 1;
    while (j >= 0 && key < values[j]) {
      values[j + 1] = values[j];
      indices[j + 1] = indices[j];
      --j;
    }
    values[j + 1] = key;
    indices[j + 1] = index;
  }
}

void orderByFitness(Population& pop, Population& copy) {
  std::vector<int> order(static_cast<size_t>(pop.size));
  std::vector<float> keys(static_cast<size_t>(pop.size));
  for (int k = 0; k < pop.size; ++k) {
    order[static_cast<size_t>(k)] = k;
    keys[static_cast<size_t>(k)] = pop.fitness(k);
  }
  sortByFitness(order.data(), keys.data(), pop.size);
  copy = pop;
  for (int r = 0; r < pop.size; ++r) copyIndividual(copy, order[static_cast<size_t>(r)], pop, r);
}

}  // namespace jobshop
