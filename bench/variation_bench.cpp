// The seven crossovers and four mutations on random parents of a started run.
#include <benchmark/benchmark.h>

#include "bench_fixtures.h"
#include "variation/cycle_crossover.h"
#include "variation/mask_crossovers.h"
#include "variation/mutations.h"
#include "variation/segment_crossovers.h"

namespace jobshop {

namespace {

using Crossover = void (*)(Population&, const float*, const float*, int, RandomSource&,
                           VariationScratch&);
using Mutation = void (*)(Population&, float*, int, RandomSource&, VariationScratch&);

template <Crossover crossover>
void BM_Crossover(benchmark::State& s) {
  StartedRun run(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)), 2);
  RunState& state = run.state;
  VariationScratch scratch;
  for (auto _ : s) {
    crossover(state.offspring, state.population.genes(0), state.population.genes(1), 1,
              state.random, scratch);
    benchmark::DoNotOptimize(state.offspring.values.data());
  }
  s.SetItemsProcessed(s.iterations());
}

template <Mutation mutation>
void BM_Mutation(benchmark::State& s) {
  StartedRun run(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)), 2);
  const Instance& instance = run.instance;
  RunState& state = run.state;
  VariationScratch scratch;
  std::vector<float> buffer(state.population.genes(0),
                            state.population.genes(0) + instance.geneCount());
  for (auto _ : s) {
    mutation(state.offspring, buffer.data(), 0, state.random, scratch);
    benchmark::DoNotOptimize(state.offspring.values.data());
  }
  s.SetItemsProcessed(s.iterations());
}

#define JOBSHOP_SIZES ->Args({10, 10})->Args({20, 20})->Args({100, 20})
BENCHMARK(BM_Crossover<segmentFillCrossover<RandomSource>>) JOBSHOP_SIZES;
BENCHMARK(BM_Crossover<segmentInsertCrossover<RandomSource>>) JOBSHOP_SIZES;
BENCHMARK(BM_Crossover<segmentWrapCrossover<RandomSource>>) JOBSHOP_SIZES;
BENCHMARK(BM_Crossover<precedenceCrossover<RandomSource>>) JOBSHOP_SIZES;
BENCHMARK(BM_Crossover<maskKeepCrossover<RandomSource>>) JOBSHOP_SIZES;
BENCHMARK(BM_Crossover<maskReorderCrossover<RandomSource>>) JOBSHOP_SIZES;
BENCHMARK(BM_Crossover<cycleCrossover<RandomSource>>) JOBSHOP_SIZES;
BENCHMARK(BM_Mutation<scrambleMutation<RandomSource>>) JOBSHOP_SIZES;
BENCHMARK(BM_Mutation<swapMutation<RandomSource>>) JOBSHOP_SIZES;
BENCHMARK(BM_Mutation<insertionMutation<RandomSource>>) JOBSHOP_SIZES;
BENCHMARK(BM_Mutation<neighbourSwapMutation<RandomSource>>) JOBSHOP_SIZES;

}  // namespace

}  // namespace jobshop
