// The end-of-run analysis: how many distinct optimal schedules the final population holds, how far
// apart they are, and their machine sequences, appended to the four result files.
#pragma once

#include "input/instance.h"
#include "model/machine_sequences.h"
#include "model/population.h"
#include "results/run_records.h"

namespace jobshop {

// Appends the run's records for `population` (sorted ascending by makespan) to the texts of the
// four analysis files: the best makespan always; when it is at most the target, the number of
// distinct optima, their average pairwise distance (two or more) and one machine-sequence line
// per distinct optimum. Returns the number of distinct optima, 0 when the best is above the
// target.
int analyseOptima(const Population& population, const Instance& instance, RunRecords& records,
                  SequenceScratch& scratch);

}  // namespace jobshop
