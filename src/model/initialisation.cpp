// Rejection-based filling of the initial chromosomes.
#include "model/initialisation.h"

#include <vector>

#include "model/random_source.h"
#include "model/scripted_random.h"

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

template void initialisePopulation(Population&, const Instance&, RandomSource&);
template void initialisePopulation(Population&, const Instance&, detail::ScriptedRandom&);

}  // namespace jobshop
