// The census a run takes for its trace after every generation, over J, M and N: set beside
// BM_Generation with the same arguments, it gives the trace's share of a generation.
#include <benchmark/benchmark.h>

#include <climits>

#include "bench_fixtures.h"
#include "evolution/population_census.h"

namespace jobshop {

namespace {

// Every schedule at the target, so that each count also looks each one up among those found.
void BM_Census(benchmark::State& s) {
  StartedRun run(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)),
                 static_cast<int>(s.range(2)));
  run.instance.targetMakespan = INT_MAX;
  PopulationCensus census;
  startCensus(census, run.state.populationSequences);
  int generation = 0;
  for (auto _ : s) benchmark::DoNotOptimize(takeCensus(census, run.state, ++generation));
  s.SetItemsProcessed(s.iterations() * s.range(2));
}
BENCHMARK(BM_Census)
    ->Args({10, 10, 100})
    ->Args({20, 20, 100})
    ->Args({100, 20, 100})
    ->Args({20, 20, 400});

}  // namespace

}  // namespace jobshop
