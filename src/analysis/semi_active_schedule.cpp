// Rebuilding a schedule from its machine sequences: the earliest start times that respect both
// every job's route and every machine's recorded order, and the makespan they give.
#include "analysis/semi_active_schedule.h"

#include <algorithm>
#include <cstddef>

#include "support/failure.h"

namespace jobshop {

namespace {

std::size_t cell(int row, int column, int width) {
  return static_cast<std::size_t>((row - 1) * width + column - 1);
}

MaybeFailure checkRoutes(const Instance& instance) {
  const int jobs = instance.jobs;
  const int machines = instance.machines;
  for (int j = 1; j <= jobs; ++j) {
    std::vector<bool> seen(static_cast<std::size_t>(machines) + 1, false);
    for (int o = 1; o <= machines; ++o) {
      const int m = instance.machineOf(j, o);
      if (m < 1 || m > machines || seen[static_cast<std::size_t>(m)]) {
        return Failure{"job " + std::to_string(j) +
                       "'s route in the instance does not visit every machine exactly once"};
      }
      seen[static_cast<std::size_t>(m)] = true;
    }
  }
  return std::nullopt;
}

MaybeFailure checkMachineRows(const std::vector<int>& sequences, int jobs, int machines) {
  for (int m = 1; m <= machines; ++m) {
    std::vector<bool> seen(static_cast<std::size_t>(jobs) + 1, false);
    for (int p = 1; p <= jobs; ++p) {
      const int j = sequences[cell(m, p, jobs)];
      if (j < 1 || j > jobs) {
        return Failure{"machine " + std::to_string(m) + "'s order names job " + std::to_string(j) +
                       ", which this instance does not have"};
      }
      if (seen[static_cast<std::size_t>(j)]) {
        return Failure{"machine " + std::to_string(m) + "'s order names job " + std::to_string(j) +
                       " twice"};
      }
      seen[static_cast<std::size_t>(j)] = true;
    }
  }
  return std::nullopt;
}

// Why sequences are no schedule of instance, if they are not.
MaybeFailure sequenceProblem(const Instance& instance, const std::vector<int>& sequences) {
  const int count = instance.geneCount();
  if (static_cast<int>(sequences.size()) != count) {
    return Failure{"it holds " + std::to_string(sequences.size()) +
                   " machine-sequence entries, this instance needs " + std::to_string(count)};
  }
  if (MaybeFailure routes = checkRoutes(instance)) return routes;
  return checkMachineRows(sequences, instance.jobs, instance.machines);
}

// Operations indexed job-major, (job-1)*M + (operation-1): for each, the operation just before and
// just after it on its machine, or -1.
struct MachineOrder {
  std::vector<int> predecessor, successor;
};

MachineOrder machineOrder(const Instance& instance, const std::vector<int>& sequences) {
  const int jobs = instance.jobs;
  const int machines = instance.machines;
  const std::size_t size = static_cast<std::size_t>(instance.geneCount());
  // operationOn[(j,m)]: which operation of job j runs on machine m.
  std::vector<int> operationOn(size);
  for (int j = 1; j <= jobs; ++j) {
    for (int o = 1; o <= machines; ++o)
      operationOn[cell(j, instance.machineOf(j, o), machines)] = o;
  }
  MachineOrder order{std::vector<int>(size, -1), std::vector<int>(size, -1)};
  for (int m = 1; m <= machines; ++m) {
    for (int p = 2; p <= jobs; ++p) {
      const int before = sequences[cell(m, p - 1, jobs)];
      const int after = sequences[cell(m, p, jobs)];
      const std::size_t from = cell(before, operationOn[cell(before, m, machines)], machines);
      const std::size_t to = cell(after, operationOn[cell(after, m, machines)], machines);
      order.predecessor[to] = static_cast<int>(from);
      order.successor[from] = static_cast<int>(to);
    }
  }
  return order;
}

// Starts op as soon as its job's and its machine's previous operations have ended.
void place(std::size_t op, const Instance& instance, const MachineOrder& order,
           std::vector<int>& end, SemiActiveSchedule& schedule) {
  const int machines = instance.machines;
  const int job = static_cast<int>(op) / machines + 1;
  const int operation = static_cast<int>(op) % machines + 1;
  const int machine = instance.machineOf(job, operation);
  int start = 0;
  if (operation > 1) start = end[op - 1];
  if (order.predecessor[op] >= 0) {
    start = std::max(start, end[static_cast<std::size_t>(order.predecessor[op])]);
  }
  end[op] = start + instance.timeOn(job, machine);
  schedule.operations[op] = ScheduledOperation{job, operation, machine, start, end[op]};
  schedule.makespan = std::max(schedule.makespan, end[op]);
}

// Longest-path pass in topological order: an operation is placed once both predecessors are.
// Returns how many operations were placed, fewer than all when the orders wait in a cycle.
std::size_t placeAll(const Instance& instance, const MachineOrder& order,
                     SemiActiveSchedule& schedule) {
  const std::size_t size = order.predecessor.size();
  const std::size_t machines = static_cast<std::size_t>(instance.machines);
  std::vector<int> waiting(size, 0);
  std::vector<std::size_t> ready;
  for (std::size_t op = 0; op < size; ++op) {
    waiting[op] = (op % machines != 0) + (order.predecessor[op] >= 0);
    if (waiting[op] == 0) ready.push_back(op);
  }
  schedule.operations.resize(size);
  std::vector<int> end(size, 0);
  std::size_t placed = 0;
  while (!ready.empty()) {
    const std::size_t op = ready.back();
    ready.pop_back();
    ++placed;
    place(op, instance, order, end, schedule);
    if (op % machines + 1 < machines && --waiting[op + 1] == 0) ready.push_back(op + 1);
    if (order.successor[op] >= 0) {
      const std::size_t next = static_cast<std::size_t>(order.successor[op]);
      if (--waiting[next] == 0) ready.push_back(next);
    }
  }
  return placed;
}

}  // namespace

SemiActiveSchedule rebuildSchedule(const Instance& instance, const std::vector<int>& sequences) {
  SemiActiveSchedule schedule;
  if (const MaybeFailure problem = sequenceProblem(instance, sequences)) {
    schedule.problem = problem->reason;
    return schedule;
  }
  const MachineOrder order = machineOrder(instance, sequences);
  if (placeAll(instance, order, schedule) != order.predecessor.size()) {
    schedule.operations.clear();
    schedule.makespan = 0;
    schedule.problem =
        "its machine orders contradict the jobs' routes (they wait on each other in a cycle)";
  }
  return schedule;
}

}  // namespace jobshop
