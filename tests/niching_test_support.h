// What every niching scheme is tested for whatever its draws: runs of a few generations on small
// instances, checked after each generation, and whole runs repeated from one seed.
#pragma once

#include <vector>

#include "evolution/run_loop.h"
#include "input/instance.h"
#include "input/parameters.h"

namespace jobshop {

// Every crossover and mutation on, crossover 80 %, mutation 20 %, N individuals, the budget in
// evaluations and the crowding fields set (so that only the method differs).
Parameters schemeParameters(NichingMethod method, int populationSize, int budget);

// Four jobs on three machines: small enough to converge within a test, big enough to hold several
// schedules of one makespan.
Instance fourByThreeInstance();

// Four jobs on one machine, every time 1: a chromosome is its own machine sequence, so that the
// distance of two is the number of places where they differ, and every makespan is 4 (the hand-
// worked tests set makespans of their own).
Instance oneMachineInstance();

// The scheme of `settings` on N = 4 individuals of oneMachineInstance(): the population holds
// `parents` with makespans `parentMakespans` and the offspring `children` with theirs, every
// sequence table decoded, as the generation cycle keeps them.
struct HandWorked {
  Instance instance = oneMachineInstance();
  Parameters parameters;
  RunState state;
  NichingScheme scheme;

  HandWorked(const NichingSettings& settings, const std::vector<std::vector<float>>& parents,
             const std::vector<float>& parentMakespans,
             const std::vector<std::vector<float>>& children = {},
             const std::vector<float>& childMakespans = {});
  // The scheme's struct, for calling its steps with scripted draws.
  template <class Scheme>
  Scheme& as() {
    return std::get<Scheme>(scheme);
  }
  std::vector<std::vector<float>> populationGenes() const;
  std::vector<float> populationMakespans() const;
  std::vector<std::vector<float>> matingPoolGenes() const;
};

// A whole run of `parameters` on `instance`, its draws and clock fixed by seed.
struct SeededRun {
  const Instance& instance;
  const Parameters& parameters;
  RunState state;
  RunScratch scratch;
  ProgressLine progress;

  SeededRun(const Instance& inst, const Parameters& params, unsigned seed);
  RunResult perform();
};

// Generations of `method` from a random population (seed), each checked: the population keeps its
// size, its sequence rows are the machine sequences of its genes, every makespan is that of its
// genes, the population is in makespan order, the best never worsens and the evaluations grow by
// at most N. Wide: niches of radius 5 of the 12 cells (clearing capacity 2, sharing alpha 0.5)
// and windows of 5, instead of the defaults (radius 1: clones only; windows of N).
void expectGenerationsKeepThePopulationWhole(NichingMethod method, unsigned seed, bool wide);

// The same for several seeds drawn from the test's seed, which is printed, the odd ones wide.
void expectGenerationsKeepThePopulationWholeForSeveralSeeds(NichingMethod method);

// A one-job instance (every chromosome the same schedule) and a population of one chromosome
// copied N times on the four-by-three instance: the run or the generations end at the budget.
void expectConvergedPopulationRunsToItsBudget(NichingMethod method);

// Two runs from one seed give the same improvements, counts, trace and final population.
void expectRunRepeatsFromItsSeed(NichingMethod method);

// A stop at each of the looks one generation of `method` takes (counted on a first pass) gives
// the generation up: advanceGeneration answers false and the population, its sequences and the
// evaluation count are as they were before it.
void expectStopAtEveryLookGivesTheGenerationUp(NichingMethod method);

}  // namespace jobshop
