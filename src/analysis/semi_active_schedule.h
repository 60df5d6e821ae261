// Rebuilding a schedule from its machine sequences: the earliest start times that respect both
// every job's route and every machine's recorded order, and the makespan they give.
#pragma once

#include <string>
#include <vector>

#include "input/instance.h"

namespace jobshop {

struct ScheduledOperation {
  int job = 0;        // 1-based
  int operation = 0;  // 1-based position in the job's route
  int machine = 0;    // 1-based
  int start = 0;
  int end = 0;
};

struct SemiActiveSchedule {
  std::vector<ScheduledOperation> operations;  // job-major: (job-1)*M + (operation-1)
  int makespan = 0;
  std::string problem;  // empty when the sequences are a schedule of the instance
};

// Each operation starts as soon as both its job's previous operation and its machine's previous
// operation in sequences (machine 1's J jobs, then machine 2's, ...) have ended. Sequences of the
// wrong length, a machine row that is not a permutation of the jobs, or orders that contradict the
// routes (a cycle) leave operations empty and say why in problem.
SemiActiveSchedule rebuildSchedule(const Instance& instance, const std::vector<int>& sequences);

}  // namespace jobshop
