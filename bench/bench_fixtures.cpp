// Benchmark fixtures.
#include "bench_fixtures.h"

#include <algorithm>
#include <numeric>
#include <random>

#include "model/fitness_sort.h"
#include "model/initialisation.h"
#include "model/makespan.h"
#include "model/sequence_table.h"

namespace jobshop {

Instance randomInstance(int jobs, int machines, unsigned seed) {
  std::mt19937 generator(seed);
  Instance instance;
  instance.jobs = jobs;
  instance.machines = machines;
  instance.targetMakespan = 1;
  std::uniform_int_distribution<int> time(1, 99);
  std::vector<int> row(static_cast<std::size_t>(machines));
  for (int j = 0; j < jobs; ++j) {
    for (int m = 0; m < machines; ++m) instance.times.push_back(time(generator));
    std::iota(row.begin(), row.end(), 1);
    std::shuffle(row.begin(), row.end(), generator);
    instance.routing.insert(instance.routing.end(), row.begin(), row.end());
  }
  return instance;
}

Parameters benchmarkParameters(int populationSize) {
  Parameters p;
  p.populationSize = populationSize;
  p.maxEvaluations = 1 << 30;
  p.runCount = 1;
  p.crossoverPercent = 80;
  p.mutationPercent = 20;
  p.scrambleMutationEnabled = p.insertionMutationEnabled = p.swapMutationEnabled =
      p.neighbourSwapMutationEnabled = true;
  p.segmentWrapCrossoverEnabled = p.cycleCrossoverEnabled = p.segmentFillCrossoverEnabled =
      p.maskKeepCrossoverEnabled = p.maskReorderCrossoverEnabled = p.segmentInsertCrossoverEnabled =
          p.precedenceCrossoverEnabled = true;
  p.mateCandidates = 4;
  p.crowdingGroups = 4;
  p.crowdingGroupSize = 10;
  return p;
}

void startRun(RunState& state) {
  state.random.seedRandom(12345);
  initialisePopulation(state.population, state.instance, state.random);
  MakespanScratch scratch;
  for (int k = 0; k < state.population.size; ++k)
    state.population.fitness(k) =
        evaluateMakespan(state.population.genes(k), state.instance, scratch);
  Population copy;
  orderByFitness(state.population, copy);
  SequenceScratch sequences;
  decodePopulationSequences(state.population, state.instance, state.populationSequences, sequences);
}

}  // namespace jobshop
