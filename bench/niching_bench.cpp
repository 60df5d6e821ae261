// Crowding selection, crowding replacement and one whole generation, over L and N; one generation
// of each niching method on ft10 at N = 100.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_fixtures.h"
#include "evolution/generation_cycle.h"
#include "input/instance_reader.h"
#include "niching/crowding_replacement.h"
#include "niching/crowding_selection.h"
#include "variation/offspring.h"

namespace jobshop {

namespace {

void BM_SelectMates(benchmark::State& s) {
  StartedRun run(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)),
                 static_cast<int>(s.range(2)));
  SelectionScratch scratch;
  for (auto _ : s) selectMates(run.state, run.state.random, run.state.stop, scratch);
  s.SetItemsProcessed(s.iterations() * s.range(2) / 2);
}
BENCHMARK(BM_SelectMates)->Args({10, 10, 100})->Args({20, 20, 200})->Args({100, 20, 100});

void BM_ReplaceByCrowding(benchmark::State& s) {
  StartedRun run(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)),
                 static_cast<int>(s.range(2)));
  SelectionScratch selection;
  VariationScratch variation;
  ReplacementScratch replacement;
  const Population start = run.state.population;
  const SequenceTable startSequences = run.state.populationSequences;
  selectMates(run.state, run.state.random, run.state.stop, selection);
  generateOffspring(run.state, run.state.random, run.state.stop, variation);
  for (auto _ : s) {
    run.state.population = start;
    run.state.populationSequences = startSequences;
    replaceByCrowding(run.state, run.state.random, run.state.stop, replacement);
  }
  s.SetItemsProcessed(s.iterations() * s.range(2));
}
BENCHMARK(BM_ReplaceByCrowding)->Args({10, 10, 100})->Args({20, 20, 200})->Args({100, 20, 100});

// One generation as a run performs it (reseed included), over J, M, N and the crowding group size
// CS (with 4 groups, so CF·CS = 4·CS distances per child).
void BM_Generation(benchmark::State& s) {
  StartedRun run(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)),
                 static_cast<int>(s.range(2)));
  run.parameters.crowdingGroupSize = static_cast<int>(s.range(3));
  NichingScheme niching = chooseNichingScheme(run.parameters);
  VariationScratch variation;
  for (auto _ : s)
    advanceGeneration(run.state, run.state.random, run.state.stop, niching, variation);
  s.SetItemsProcessed(s.iterations() * s.range(2));
}
BENCHMARK(BM_Generation)
    ->Args({10, 10, 100, 10})
    ->Args({20, 20, 100, 10})
    ->Args({40, 20, 100, 10})
    ->Args({100, 20, 100, 10})
    ->Args({20, 20, 200, 10})
    ->Args({20, 20, 400, 10})
    ->Args({20, 20, 200, 2})
    ->Args({20, 20, 200, 5})
    ->Args({20, 20, 200, 20});

// One generation (reseed included) of the method kNichingMethodNames[range(0)] on ft10 at N = 100,
// from a random started population that each method then evolves as its runs would.
void BM_GenerationOfMethod(benchmark::State& s) {
  const Instance instance =
      readInstance(std::string(JOBSHOP_SOURCE_DIR) + "/bench/instances/ft10/D_Entrada.txt");
  Parameters parameters = benchmarkParameters(100);
  parameters.niching.method = kNichingMethodNames[static_cast<std::size_t>(s.range(0))].method;
  RunState state(instance, parameters, steppingClock(0));
  startRun(state);
  NichingScheme niching = chooseNichingScheme(parameters);
  VariationScratch variation;
  for (auto _ : s) advanceGeneration(state, state.random, state.stop, niching, variation);
  s.SetLabel(kNichingMethodNames[static_cast<std::size_t>(s.range(0))].name);
  s.SetItemsProcessed(s.iterations() * parameters.populationSize);
}
BENCHMARK(BM_GenerationOfMethod)->DenseRange(0, 5);

}  // namespace

}  // namespace jobshop
