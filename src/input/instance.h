// The problem instance: jobs, machines, target makespan and the two J x M matrices.
// Filled once by the instance reader and read-only afterwards.
#pragma once

#include <cstddef>
#include <vector>

namespace jobshop {

struct Instance {
  int jobs = 0;
  int machines = 0;
  int targetMakespan = 0;
  // Row = job, column = machine: times[(j-1)*M + (m-1)] is the time job j needs on machine m.
  std::vector<int> times;
  // Row = job, column = operation: routing[(j-1)*M + (o-1)] is the machine (1..M) of job j's
  // operation o.
  std::vector<int> routing;

  int geneCount() const { return jobs * machines; }
  // Machine (1..M) of the operation-th (1-based) operation of job (1-based).
  int machineOf(int job, int operation) const {
    return routing[static_cast<std::size_t>((job - 1) * machines + operation - 1)];
  }
  // Processing time of job (1-based) on machine (1-based).
  int timeOn(int job, int machine) const {
    return times[static_cast<std::size_t>((job - 1) * machines + machine - 1)];
  }
};

}  // namespace jobshop
