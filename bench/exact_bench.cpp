// The exact count of the optima command on one thread and on all cores: ft06 at its optimum 55
// and at 58 and 62, la02 at its optimum 655 and at 656; and `optima --limit 3` on one job through
// 8,192 and 65,536 machines, a search tree that is one chain as deep as the operations.
#include <benchmark/benchmark.h>

#include <string>
#include <thread>

#include "exact/parallel_count.h"
#include "exact/schedule_search.h"
#include "input/instance_reader.h"

namespace jobshop {

namespace {

SearchProblem benchInstance(const char* name) {
  return makeSearchProblem(readInstance(std::string(JOBSHOP_SOURCE_DIR) + "/bench/instances/" +
                                        name + "/D_Entrada.txt"));
}

// Counts problem under request once per iteration; the schedules and nodes of the last count.
CountResult timedCount(benchmark::State& s, const SearchProblem& problem,
                       const CountRequest& request) {
  ProgressLine quiet = terminalProgressLine(true);
  CountResult result;
  for (auto _ : s) {
    result = countSchedules(problem, request, quiet);
    benchmark::DoNotOptimize(result.count);
  }
  s.counters["schedules"] = static_cast<double>(result.count);
  s.counters["nodes"] = static_cast<double>(result.nodes);
  return result;
}

void countWith(benchmark::State& s, const char* name, int threads) {
  const SearchProblem problem = benchInstance(name);
  CountRequest request;
  request.bound = static_cast<int>(s.range(0));
  request.threads = threads;
  const CountResult result = timedCount(s, problem, request);
  s.SetItemsProcessed(s.iterations() * result.count);
}

void BM_CountFt06(benchmark::State& s) { countWith(s, "ft06", 1); }
BENCHMARK(BM_CountFt06)->Arg(55)->Arg(58)->Arg(62)->Unit(benchmark::kMillisecond);

void BM_CountFt06AllCores(benchmark::State& s) {
  countWith(s, "ft06", static_cast<int>(std::thread::hardware_concurrency()));
}
BENCHMARK(BM_CountFt06AllCores)->Arg(62)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CountLa02(benchmark::State& s) { countWith(s, "la02", 1); }
BENCHMARK(BM_CountLa02)->Arg(655)->Arg(656)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CountLa02AllCores(benchmark::State& s) {
  countWith(s, "la02", static_cast<int>(std::thread::hardware_concurrency()));
}
BENCHMARK(BM_CountLa02AllCores)
    ->Arg(655)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

// One job through every machine in order, times 1 to 9: exactly one schedule.
SearchProblem oneJobChain(int machines) {
  Instance chain;
  chain.jobs = 1;
  chain.machines = machines;
  for (int m = 1; m <= machines; ++m) {
    chain.times.push_back(m * 7 % 9 + 1);
    chain.routing.push_back(m);
  }
  return makeSearchProblem(chain);
}

void BM_ListOneJobChain(benchmark::State& s) {
  const SearchProblem problem = oneJobChain(static_cast<int>(s.range(0)));
  CountRequest request;
  request.bound = static_cast<int>(totalWork(problem));
  request.limit = 3;
  request.threads = 1;
  timedCount(s, problem, request);
}
BENCHMARK(BM_ListOneJobChain)->Arg(8192)->Arg(65536)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace jobshop
