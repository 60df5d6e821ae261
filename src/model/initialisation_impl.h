// Rejection-based filling of the initial chromosomes.
// Only the files that instantiate these templates include this header: the program's own in
// initialisation.cpp and the tests' for their scripted draws. The helpers keep the internal linkage
// they had in the .cpp, so each of those files compiles its own copy, as before.
#pragma once

#include <vector>

#include "model/initialisation.h"

namespace jobshop {

template <class Random>
void initialisePopulation(Population& pop, const Instance& instance, Random& random) {
  const int jobs = instance.jobs;
  const int machines = instance.machines;
  std::vector<int> counts(static_cast<size_t>(jobs) + 1);
  for (int i = 0; i < pop.size; ++i) {
    std::fill(counts.begin(), counts.end(), 0);
    float* genes = pop.genes(i);
    int p = 0;
    while (p < pop.geneCount) {
      const int d = random.randomBelow(jobs + 1);
      // Draw 0 is in the range but names no job; both it and a complete job are redrawn.
      if (d == 0 || counts[static_cast<size_t>(d)] == machines) continue;
      genes[p++] = static_cast<float>(d);
      ++counts[static_cast<size_t>(d)];
    }
  }
}

}  // namespace jobshop
