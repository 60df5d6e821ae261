// Rebuilding a schedule from its machine sequences: the earliest start times that respect both
// every job's route and every machine's recorded order, and the makespan they give.
#include "report/semi_active_schedule.h"

#include <algorithm>
#include <cstddef>

namespace jobshop {

namespace {

std::size_t cell(int row, int column, int width) {
  return static_cast<std::size_t>((row - 1) * width + column - 1);
}

std::string checkRoutes(const Instance& instance) {
  const int jobs = instance.jobs;
  const int machines = instance.machines;
  for (int j = 1; j <= jobs; ++j) {
    std::vector<bool> seen(static_cast<std::size_t>(machines) + 1, false);
    for (int o = 1; o <= machines; ++o) {
      const int m = instance.machineOf(j, o);
      if (m < 1 || m > machines || seen[static_cast<std::size_t>(m)]) {
        return "job " + std::to_string(j) + "'s route in the instance does not visit every " +
               "machine exactly once";
      }
      seen[static_cast<std::size_t>(m)] = true;
    }
  }
  return {};
}

std::string checkMachineRows(const std::vector<int>& sequences, int jobs, int machines) {
  for (int m = 1; m <= machines; ++m) {
    std::vector<bool> seen(static_cast<std::size_t>(jobs) + 1, false);
    for (int p = 1; p <= jobs; ++p) {
      const int j = sequences[cell(m, p, jobs)];
      if (j < 1 || j > jobs) {
        return "machine " + std::to_string(m) + "'s order names job " + std::to_string(j) +
               ", which this instance does not have";
      }
      if (seen[static_cast<std::size_t>(j)]) {
        return "machine " + std::to_string(m) + "'s order names job " + std::to_string(j) +
               " twice";
      }
      seen[static_cast<std::size_t>(j)] = true;
    }
  }
  return {};
}

}  // namespace

SemiActiveSchedule rebuildSchedule(const Instance& instance, const std::vector<int>& sequences) {
  SemiActiveSchedule schedule;
  const int jobs = instance.jobs;
  const int machines = instance.machines;
  const int count = instance.geneCount();
  if (static_cast<int>(sequences.size()) != count) {
    schedule.problem = "it holds " + std::to_string(sequences.size()) +
                       " machine-sequence entries, this instance needs " + std::to_string(count);
    return schedule;
  }
  schedule.problem = checkRoutes(instance);
  if (schedule.problem.empty()) schedule.problem = checkMachineRows(sequences, jobs, machines);
  if (!schedule.problem.empty()) return schedule;

  // operationOn[(j,m)]: which operation of job j runs on machine m; machinePredecessor[op]: the
  // operation just before op on its machine, or -1.
  const std::size_t size = static_cast<std::size_t>(count);
  std::vector<int> operationOn(size);
  for (int j = 1; j <= jobs; ++j) {
    for (int o = 1; o <= machines; ++o)
      operationOn[cell(j, instance.machineOf(j, o), machines)] = o;
  }
  std::vector<int> machinePredecessor(size, -1);
  std::vector<int> machineSuccessor(size, -1);
  for (int m = 1; m <= machines; ++m) {
    for (int p = 2; p <= jobs; ++p) {
      const int before = sequences[cell(m, p - 1, jobs)];
      const int after = sequences[cell(m, p, jobs)];
      const std::size_t from = cell(before, operationOn[cell(before, m, machines)], machines);
      const std::size_t to = cell(after, operationOn[cell(after, m, machines)], machines);
      machinePredecessor[to] = static_cast<int>(from);
      machineSuccessor[from] = static_cast<int>(to);
    }
  }

  // Longest-path pass in topological order: an operation is placed once both predecessors are.
  std::vector<int> waiting(size, 0);
  std::vector<std::size_t> ready;
  for (std::size_t op = 0; op < size; ++op) {
    waiting[op] = (op % static_cast<std::size_t>(machines) != 0) + (machinePredecessor[op] >= 0);
    if (waiting[op] == 0) ready.push_back(op);
  }
  schedule.operations.resize(size);
  std::vector<int> end(size, 0);
  std::size_t placed = 0;
  while (!ready.empty()) {
    const std::size_t op = ready.back();
    ready.pop_back();
    ++placed;
    const int job = static_cast<int>(op) / machines + 1;
    const int operation = static_cast<int>(op) % machines + 1;
    const int machine = instance.machineOf(job, operation);
    int start = 0;
    if (operation > 1) start = end[op - 1];
    if (machinePredecessor[op] >= 0) {
      start = std::max(start, end[static_cast<std::size_t>(machinePredecessor[op])]);
    }
    end[op] = start + instance.timeOn(job, machine);
    schedule.operations[op] = ScheduledOperation{job, operation, machine, start, end[op]};
    schedule.makespan = std::max(schedule.makespan, end[op]);
    if (operation < machines && --waiting[op + 1] == 0) ready.push_back(op + 1);
    if (machineSuccessor[op] >= 0) {
      const std::size_t next = static_cast<std::size_t>(machineSuccessor[op]);
      if (--waiting[next] == 0) ready.push_back(next);
    }
  }
  if (placed != size) {
    schedule.operations.clear();
    schedule.makespan = 0;
    schedule.problem =
        "its machine orders contradict the jobs' routes (they wait on each other in a cycle)";
  }
  return schedule;
}

}  // namespace jobshop
