// Insertion sort by makespan and the reordering of a whole population.
#include "model/fitness_sort.h"

#include <vector>

void sortByFitness(int* indices, float* values, int n) {
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
