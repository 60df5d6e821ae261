// The schedule operations: makespan decoding, machine sequences and distance.
#include <benchmark/benchmark.h>

#include "bench_fixtures.h"
#include "model/machine_sequences.h"
#include "model/makespan.h"
#include "model/sequence_table.h"

namespace jobshop {

namespace {

void BM_EvaluateMakespan(benchmark::State& s) {
  StartedRun run(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)), 2);
  const Instance& instance = run.instance;
  RunState& state = run.state;
  MakespanScratch scratch;
  for (auto _ : s)
    benchmark::DoNotOptimize(evaluateMakespan(state.population.genes(0), instance, scratch));
  s.SetItemsProcessed(s.iterations());
}
BENCHMARK(BM_EvaluateMakespan)->Args({10, 10})->Args({20, 20})->Args({30, 20})->Args({100, 20});

void BM_DecodeMachineSequences(benchmark::State& s) {
  StartedRun run(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)), 2);
  const Instance& instance = run.instance;
  RunState& state = run.state;
  SequenceScratch scratch;
  std::vector<float> out(static_cast<std::size_t>(instance.geneCount()));
  for (auto _ : s) {
    decodeMachineSequences(state.population.genes(0), instance, out.data(), scratch);
    benchmark::DoNotOptimize(out.data());
  }
  s.SetItemsProcessed(s.iterations());
}
BENCHMARK(BM_DecodeMachineSequences)
    ->Args({10, 10})
    ->Args({20, 20})
    ->Args({30, 20})
    ->Args({100, 20});

void BM_ScheduleDistance(benchmark::State& s) {
  StartedRun run(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)), 2);
  const Instance& instance = run.instance;
  RunState& state = run.state;
  SequenceScratch scratch;
  for (auto _ : s)
    benchmark::DoNotOptimize(
        scheduleDistance(state.population.genes(0), state.population.genes(1), instance, scratch));
  s.SetItemsProcessed(s.iterations());
}
BENCHMARK(BM_ScheduleDistance)->Args({10, 10})->Args({20, 20})->Args({30, 20})->Args({100, 20});

// The distance of the generation loop: one comparison of two cached rows.
void BM_SequenceDistance(benchmark::State& s) {
  StartedRun run(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)), 2);
  RunState& state = run.state;
  const SequenceTable& rows = state.populationSequences;
  for (auto _ : s) benchmark::DoNotOptimize(rowDistance(rows, 0, rows, 1));
  s.SetItemsProcessed(s.iterations());
}
BENCHMARK(BM_SequenceDistance)->Args({10, 10})->Args({20, 20})->Args({30, 20})->Args({100, 20});

}  // namespace

}  // namespace jobshop
