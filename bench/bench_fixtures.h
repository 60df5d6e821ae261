// Random instances and evaluated, sorted populations for the benchmarks.
#pragma once

#include "input/instance.h"
#include "input/parameters.h"
#include "model/run_state.h"

namespace jobshop {

// J x M instance with random times 1..99 and random routing permutations, fixed by seed.
Instance randomInstance(int jobs, int machines, unsigned seed = 1);

// The benchmark configuration: every operator enabled, crossover 80, mutation 20, 4 candidates,
// 4 groups of 10.
Parameters benchmarkParameters(int populationSize);

// Fills state.population with random chromosomes, evaluated, sorted and with their machine
// sequences decoded, as a run starts.
void startRun(RunState& state);

// A random J x M instance and a started run of n individuals on it.
struct StartedRun {
  Instance instance;
  Parameters parameters;
  RunState state;
  StartedRun(int jobs, int machines, int n)
      : instance(randomInstance(jobs, machines)),
        parameters(benchmarkParameters(n)),
        state(instance, parameters, steppingClock(0)) {
    startRun(state);
  }
};

}  // namespace jobshop
