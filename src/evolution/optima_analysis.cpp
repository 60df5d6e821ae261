// Counting the distinct optima of a run and their average distance.
#include "evolution/optima_analysis.h"

#include <cstdint>
#include <vector>

namespace jobshop {

namespace {

// Number of leading individuals whose makespan equals the best one.
int countOptima(const Population& population) {
  const float best = population.fitness(0);
  int count = 1;
  while (count < population.size && !(population.fitness(count) > best)) ++count;
  return count;
}

DistinctOptimum distinctOptimum(const float* sequences, int geneCount, float makespan) {
  DistinctOptimum optimum;
  optimum.machineSequences.reserve(static_cast<std::size_t>(geneCount));
  for (int c = 0; c < geneCount; ++c)
    optimum.machineSequences.push_back(truncateToInt(sequences[c]));
  optimum.makespan = makespan;
  return optimum;
}

}  // namespace

FinalPopulationAnalysis analyseFinalPopulation(const Population& population,
                                               const Instance& instance, SequenceScratch& scratch) {
  FinalPopulationAnalysis analysis;
  analysis.bestMakespan = population.fitness(0);
  // Compared as doubles, which hold both the int target and the float makespan exactly.
  analysis.reachedTarget =
      !(static_cast<double>(instance.targetMakespan) < static_cast<double>(analysis.bestMakespan));
  if (!analysis.reachedTarget) return analysis;
  const int geneCount = instance.geneCount();
  const int optimumCount = countOptima(population);
  const std::size_t stride = static_cast<std::size_t>(geneCount);
  std::vector<float> optimumSequences(static_cast<std::size_t>(optimumCount) * stride);
  for (int k = 0; k < optimumCount; ++k)
    decodeMachineSequences(population.genes(k), instance, optimumSequences.data() + k * stride,
                           scratch);

  // The first of each schedule is the one kept. Sums are 64-bit: many distinct optima of a large
  // instance overflow 32.
  std::vector<char> distinctFlags(static_cast<std::size_t>(optimumCount), 0);
  distinctFlags[0] = 1;
  std::int64_t distinctCount = 1;
  std::int64_t totalDistance = 0;
  for (int j = 1; j < optimumCount; ++j) {
    std::int64_t sum = 0;
    bool distinct = true;
    for (int p = 0; p < j && distinct; ++p) {
      if (!distinctFlags[static_cast<std::size_t>(p)]) continue;
      const int d = scheduleDistance(population.genes(p), population.genes(j), instance, scratch);
      sum += d;
      distinct = d != 0;
    }
    if (!distinct) continue;
    distinctFlags[static_cast<std::size_t>(j)] = 1;
    ++distinctCount;
    totalDistance += sum;
  }
  if (distinctCount > 1)
    analysis.averageDistance =
        static_cast<float>(static_cast<double>(2 * totalDistance) /
                           static_cast<double>(distinctCount * (distinctCount - 1)));
  analysis.distinctOptima.reserve(static_cast<std::size_t>(distinctCount));
  for (int k = 0; k < optimumCount; ++k) {
    if (distinctFlags[static_cast<std::size_t>(k)])
      analysis.distinctOptima.push_back(
          distinctOptimum(optimumSequences.data() + k * stride, geneCount, population.fitness(k)));
  }
  return analysis;
}

}  // namespace jobshop
