// Flattening the instance for the exact search.
#include "exact/search_problem.h"

#include <algorithm>
#include <cstddef>

namespace jobshop {

SearchProblem makeSearchProblem(const Instance& instance) {
  SearchProblem problem;
  problem.jobs = instance.jobs;
  problem.machines = instance.machines;
  const std::size_t count = static_cast<std::size_t>(instance.geneCount());
  problem.machine.resize(count);
  problem.duration.resize(count);
  problem.tail.resize(count);
  problem.opOnMachine.resize(count);
  for (int j = 0; j < instance.jobs; ++j) {
    int after = 0;
    for (int k = instance.machines - 1; k >= 0; --k) {
      const std::size_t op =
          static_cast<std::size_t>(j) * static_cast<std::size_t>(instance.machines) +
          static_cast<std::size_t>(k);
      const int m = instance.machineOf(j + 1, k + 1);
      problem.machine[op] = m - 1;
      problem.duration[op] = instance.timeOn(j + 1, m);
      problem.tail[op] = after;
      problem.opOnMachine[static_cast<std::size_t>(j * instance.machines + m - 1)] =
          static_cast<int>(op);
      after += problem.duration[op];
    }
  }
  return problem;
}

int makespanLowerBound(const SearchProblem& problem) {
  std::vector<int> load(static_cast<std::size_t>(problem.machines), 0);
  int bound = 0;
  for (int j = 0; j < problem.jobs; ++j) {
    const std::size_t first =
        static_cast<std::size_t>(j) * static_cast<std::size_t>(problem.machines);
    bound = std::max(bound, problem.tail[first] + problem.duration[first]);
    for (int k = 0; k < problem.machines; ++k) {
      const std::size_t op = first + static_cast<std::size_t>(k);
      load[static_cast<std::size_t>(problem.machine[op])] += problem.duration[op];
    }
  }
  for (int l : load) bound = std::max(bound, l);
  return bound;
}

std::int64_t totalWork(const SearchProblem& problem) {
  std::int64_t total = 0;
  for (int d : problem.duration) total += d;
  return total;
}

}  // namespace jobshop
