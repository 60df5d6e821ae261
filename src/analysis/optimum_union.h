// The optimal schedules of all runs taken together: runs that find the same machine orders find
// the same schedule, so it is counted once, with the runs that found it.
#pragma once

#include <cstddef>
#include <vector>

#include "results/result_records.h"

namespace jobshop {

struct SharedOptimum {
  std::vector<int> sequences;
  int makespan = 0;
  // Numbers of the runs that recorded it, ascending, each once; a copy of a run (RunRecord's
  // repeatOf) only when nothing else recorded the schedule before it.
  std::vector<int> runs;
  int firstLine = 0;  // where "D_Sal_Soluciones.txt" first records it
};

struct OptimumUnion {
  std::vector<SharedOptimum> schedules;  // in the order first recorded
  // indexOf[r][k]: the schedule in schedules that runs[r].solutions[k] is.
  std::vector<std::vector<std::size_t>> indexOf;
};

// Deduplicates the recorded solutions of every run by their machine sequences; every run has its
// indexOf, copies too, so that each run's optima can be shown.
OptimumUnion uniteOptima(const std::vector<RunRecord>& runs);

// How many of optima's schedules the counted runs (all but the copies) hold: the size of the union
// of those runs alone. optima is uniteOptima(runs).
std::size_t countedScheduleCount(const OptimumUnion& optima, const std::vector<RunRecord>& runs);

}  // namespace jobshop
