// The backbone of a set of schedules: the pairs of jobs on one machine that every schedule of the
// set processes in the same order, as optima.json records it for the schedules within its bound.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <vector>

namespace jobshop {

struct OptimaBackbone {
  std::int64_t of = 0;  // pairs of jobs on one machine in all: machines * jobs * (jobs - 1) / 2
  // Each pair of the backbone as {machine, job before, job after}, machines and jobs from 1,
  // machine by machine, then by the lower job of the pair; empty for an empty set of schedules.
  std::vector<std::array<int, 3>> orders;

  std::int64_t pairs() const { return static_cast<std::int64_t>(orders.size()); }
  double share() const {
    return of == 0 ? 0.0 : static_cast<double>(pairs()) / static_cast<double>(of);
  }
  bool operator==(const OptimaBackbone& other) const = default;
};

std::int64_t machinePairs(int jobs, int machines);

// The backbone of schedules, each given by its machine sequences (machine 1's jobs from 1 in
// processing order, then machine 2's, ...).
OptimaBackbone backboneOfSchedules(const std::set<std::vector<int>>& schedules, int jobs,
                                   int machines);

// Per cell of sequences, whether its job stands there with the same jobs before it in every
// schedule: every pair of that job with the machine's other jobs is in the backbone.
std::vector<bool> backboneCells(const std::vector<int>& sequences, int jobs,
                                const OptimaBackbone& backbone);

}  // namespace jobshop
