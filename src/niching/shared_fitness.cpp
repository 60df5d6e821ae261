// The sharing function, the niche counts and the shared fitness.
#include "niching/shared_fitness.h"

#include <algorithm>
#include <cmath>

namespace jobshop {

double sharingFunction(int distance, int sigma, double alpha) {
  if (!(distance < sigma)) return 0.0;
  return 1.0 - std::pow(static_cast<double>(distance) / static_cast<double>(sigma), alpha);
}

void startNicheCounts(int n, SharedFitness& shared) {
  shared.nicheCounts.assign(static_cast<std::size_t>(n), 1.0);
}

void addSharesOf(int i, const SequenceTable& sequences, int n, int sigma, double alpha,
                 SharedFitness& shared) {
  double& own = shared.nicheCounts[static_cast<std::size_t>(i)];
  for (int j = i + 1; j < n; ++j) {
    const double share = sharingFunction(rowDistance(sequences, i, sequences, j), sigma, alpha);
    own += share;
    shared.nicheCounts[static_cast<std::size_t>(j)] += share;
  }
}

void finishSharedFitness(const Population& population, int n, SharedFitness& shared) {
  float worst = population.fitness(0);
  for (int k = 1; k < n; ++k) worst = std::max(worst, population.fitness(k));
  shared.values.resize(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    const double raw =
        static_cast<double>(worst) - static_cast<double>(population.fitness(k)) + 1.0;
    shared.values[static_cast<std::size_t>(k)] =
        raw / shared.nicheCounts[static_cast<std::size_t>(k)];
  }
}

}  // namespace jobshop
