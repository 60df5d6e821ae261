// The end-of-run analysis: how many distinct optimal schedules the final population holds, how far
// apart they are, and their machine sequences, appended to the four result files.
#pragma once

#include "input/instance.h"
#include "model/machine_sequences.h"
#include "model/population.h"
#include "results/result_files.h"

// The four files, open for appending, in the order the analysis writes them.
struct OptimaFiles {
  ResultFile optima;        // "D_Sal_Optimos.txt"
  ResultFile optimumCount;  // "D_Sal_NumOptimos.txt"
  ResultFile distances;     // "D_Sal_Distancias.txt"
  ResultFile solutions;     // "D_Sal_Soluciones.txt"
};

// Appends the run's records for `population` (sorted ascending by makespan): the best makespan
// always; when it is at most the target, the number of distinct optima, their average pairwise
// distance (two or more) and one machine-sequence line per distinct optimum. Closes all four
// files.
struct OptimaOutcome {
  bool written = true;     // false when any write or close failed
  int distinctOptima = 0;  // 0 when the best is above the target
};
OptimaOutcome analyseOptima(const Population& population, const Instance& instance,
                            OptimaFiles& files, SequenceScratch& scratch);
