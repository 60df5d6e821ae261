// A node of the exact search: the machine sequences built so far and what the canonical order of
// appending forbids next, with its one step (append a job's next operation) and its undo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "exact/search_problem.h"

namespace jobshop {

struct ForbiddenChange {
  int machine = 0;
  std::uint64_t before = 0;
};

// What undoAppend needs to restore the node before an append.
struct AppendUndo {
  int job = 0;
  int machine = 0;
  int jobEnd = 0;
  int machineEnd = 0;
  int lastStart = 0;
  std::size_t logSize = 0;
};

struct SearchNode {
  const SearchProblem* problem = nullptr;
  int jobs = 0;
  int machines = 0;
  int length = 0;  // operations in all
  int bound = 0;   // schedules of makespan <= bound are wanted
  int depth = 0;   // operations appended
  // Start of the operation appended last. Starts never decrease along a list (see appendJob), so
  // no operation still to come starts earlier.
  int lastStart = 0;
  std::vector<int> jobNext, jobEnd, machineEnd, machineCount;
  // Per machine, the ready jobs that may not be the next appended to it: each was ready, and
  // ahead of the appended one in the canonical order, at some step since the machine last took an
  // operation. Had one of them come next there, the schedule would be reached through the list
  // that appends it at that earlier step instead.
  std::vector<std::uint64_t> forbidden;
  std::vector<ForbiddenChange> log;      // undoes the forbidden sets step by step
  std::vector<std::uint64_t> remaining;  // per machine, the jobs not yet on it
  std::vector<int> sequences;            // machine-major, jobs from 1
};

inline std::uint64_t jobBit(int job) { return std::uint64_t{1} << job; }

// The root: nothing appended.
SearchNode makeSearchNode(const SearchProblem& problem, int bound);

// Index of job's next operation (job * machines + its position in the route).
inline int nextOp(const SearchNode& node, int job) {
  return job * node.machines + node.jobNext[static_cast<std::size_t>(job)];
}

// The start job's next operation would have if appended now.
int earliestStart(const SearchNode& node, int job);

// True when job has an operation left that is not forbidden on its machine.
bool canAppend(const SearchNode& node, int job);

// Appends job's next operation (canAppend must hold) and forbids what the canonical order says.
AppendUndo appendJob(SearchNode& node, int job);
void undoAppend(SearchNode& node, const AppendUndo& undo);

}  // namespace jobshop
