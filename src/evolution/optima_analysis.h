// The end-of-run analysis: how many distinct optimal schedules the final population holds, how far
// apart they are, and their machine sequences.
#pragma once

#include "evolution/run_result.h"
#include "input/instance.h"
#include "model/machine_sequences.h"
#include "model/population.h"

namespace jobshop {

// Analyses `population` (sorted ascending by makespan): its best makespan always; when that is at
// most the target, its distinct optima (an optimum is distinct when its schedule differs from
// every earlier distinct one) and, for two or more, their average pairwise distance.
FinalPopulationAnalysis analyseFinalPopulation(const Population& population,
                                               const Instance& instance, SequenceScratch& scratch);

}  // namespace jobshop
