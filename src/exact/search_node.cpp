// The search's one step: append a job's next operation to its machine, forbid what the canonical
// order of appending then rules out, and take it back.
#include "exact/search_node.h"

#include <algorithm>

namespace jobshop {

namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

void setForbidden(SearchNode& node, int m, std::uint64_t value) {
  node.log.push_back({m, node.forbidden[at(m)]});
  node.forbidden[at(m)] = value;
}

}  // namespace

SearchNode makeSearchNode(const SearchProblem& problem, int bound) {
  SearchNode node;
  node.problem = &problem;
  node.jobs = problem.jobs;
  node.machines = problem.machines;
  node.length = node.jobs * node.machines;
  node.bound = bound;
  node.jobNext.assign(at(node.jobs), 0);
  node.jobEnd.assign(at(node.jobs), 0);
  node.machineEnd.assign(at(node.machines), 0);
  node.machineCount.assign(at(node.machines), 0);
  node.forbidden.assign(at(node.machines), 0);
  const std::uint64_t all = node.jobs == 64 ? ~std::uint64_t{0} : jobBit(node.jobs) - 1;
  node.remaining.assign(at(node.machines), all);
  node.sequences.assign(at(node.length), 0);
  return node;
}

int earliestStart(const SearchNode& node, int job) {
  const int m = node.problem->machine[at(nextOp(node, job))];
  return std::max(node.jobEnd[at(job)], node.machineEnd[at(m)]);
}

bool canAppend(const SearchNode& node, int job) {
  if (node.jobNext[at(job)] == node.machines) return false;
  const int m = node.problem->machine[at(nextOp(node, job))];
  return (node.forbidden[at(m)] & jobBit(job)) == 0;
}

// The list that reaches a schedule appends, at every step, the operation that could come next in
// it with the earliest start, the lowest job among equal starts. So every ready operation ahead of
// the appended one in that order, on another machine, must not be the next on its machine.
AppendUndo appendJob(SearchNode& node, int job) {
  const SearchProblem& p = *node.problem;
  const int op = nextOp(node, job);
  const int m = p.machine[at(op)];
  AppendUndo undo{
      job, m, node.jobEnd[at(job)], node.machineEnd[at(m)], node.lastStart, node.log.size()};
  if (node.forbidden[at(m)] != 0) setForbidden(node, m, 0);
  const int start = std::max(undo.jobEnd, undo.machineEnd);
  for (int i = 0; i < node.jobs; ++i) {
    if (i == job || node.jobNext[at(i)] == node.machines) continue;
    const int other = p.machine[at(nextOp(node, i))];
    if (other == m || (node.forbidden[at(other)] & jobBit(i)) != 0) continue;
    const int otherStart = std::max(node.jobEnd[at(i)], node.machineEnd[at(other)]);
    if (otherStart < start || (otherStart == start && i < job)) {
      setForbidden(node, other, node.forbidden[at(other)] | jobBit(i));
    }
  }
  node.lastStart = start;
  const int end = start + p.duration[at(op)];
  node.jobEnd[at(job)] = end;
  node.machineEnd[at(m)] = end;
  node.sequences[at(m * node.jobs + node.machineCount[at(m)])] = job + 1;
  ++node.machineCount[at(m)];
  ++node.jobNext[at(job)];
  node.remaining[at(m)] &= ~jobBit(job);
  ++node.depth;
  return undo;
}

void undoAppend(SearchNode& node, const AppendUndo& undo) {
  --node.depth;
  node.remaining[at(undo.machine)] |= jobBit(undo.job);
  --node.jobNext[at(undo.job)];
  --node.machineCount[at(undo.machine)];
  node.jobEnd[at(undo.job)] = undo.jobEnd;
  node.machineEnd[at(undo.machine)] = undo.machineEnd;
  node.lastStart = undo.lastStart;
  while (node.log.size() > undo.logSize) {
    node.forbidden[at(node.log.back().machine)] = node.log.back().before;
    node.log.pop_back();
  }
}

}  // namespace jobshop
