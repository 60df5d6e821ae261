// Packing a node into its key: 16-bit fields filled in order, then the 64-bit words they make.
#include "exact/search_state_key.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace jobshop {

namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

struct Packer {
  std::span<std::uint64_t> key;
  std::size_t field = 0;  // 16-bit fields written

  void put(std::uint64_t value) {
    key[field / 4] |= (value & 0xffff) << (16 * (field % 4));
    ++field;
  }
  void putTime(int value, int timeWords) {
    const auto v = static_cast<std::uint32_t>(value);
    put(v);
    if (timeWords == 2) put(v >> 16);
  }
};

// When each unfinished job's next operation could start: a job that ends before its next
// machine is free waits for the machine, and the machine's end only grows, so its own end no
// longer matters.
int jobFreeTime(const SearchNode& node, int job) {
  return std::max({node.jobEnd[at(job)],
                   node.machineEnd[at(node.problem->machine[at(nextOp(node, job))])],
                   node.lastStart});
}

// When machine m is free, or lastStart when no operation still to come on it can reach it first:
// each job's operations later in its route start at least the work in between after the job is
// free, and one not reached by the machine's end will never read it.
int machineFreeTime(const SearchNode& node, int m, const std::vector<int>& jobFree) {
  const SearchProblem& p = *node.problem;
  const int end = node.machineEnd[at(m)];
  if (end <= node.lastStart) return node.lastStart;
  for (std::uint64_t s = node.remaining[at(m)]; s != 0; s &= s - 1) {
    const int j = std::countr_zero(s);
    int arrival = jobFree[at(j)];
    const int stop = j * node.machines + node.machines;
    for (int op = nextOp(node, j); op < stop && p.machine[at(op)] != m; ++op) {
      arrival += p.duration[at(op)];
    }
    if (arrival < end) return end;
  }
  return node.lastStart;
}

}  // namespace

StateKeyShape stateKeyShape(const SearchProblem& problem, int bound) {
  StateKeyShape shape;
  shape.jobs = problem.jobs;
  shape.machines = problem.machines;
  shape.timeWords = bound < 0xffff ? 1 : 2;
  // Fields: each job's progress, each job's and machine's free time, the forbidden jobs (four
  // fields) and the slack.
  const int fields = problem.jobs + (problem.jobs + problem.machines + 1) * shape.timeWords + 4;
  shape.words = (fields + 3) / 4;
  return shape;
}

StateKeyWriter::StateKeyWriter(const SearchProblem& problem, int bound)
    : shape_(stateKeyShape(problem, bound)), jobFree_(at(problem.jobs), 0) {}

void StateKeyWriter::write(const SearchNode& node, std::span<std::uint64_t> key) {
  const StateKeyShape& shape = shape_;
  std::fill(key.begin(), key.end(), 0);
  Packer pack{key};
  const int now = node.lastStart;
  std::vector<int>& jobFree = jobFree_;
  std::uint64_t forbidden = 0;
  for (int j = 0; j < node.jobs; ++j) {
    const int done = node.jobNext[at(j)];
    jobFree[at(j)] = done == node.machines ? now : jobFreeTime(node, j);
    pack.put(static_cast<std::uint64_t>(done));
    pack.putTime(jobFree[at(j)] - now, shape.timeWords);
  }
  for (int m = 0; m < node.machines; ++m) {
    pack.putTime(machineFreeTime(node, m, jobFree) - now, shape.timeWords);
    forbidden |= node.forbidden[at(m)];
  }
  for (int k = 0; k < 4; ++k) pack.put(forbidden >> (16 * k));
  pack.putTime(node.bound - now, shape.timeWords);
}

std::uint64_t stateKeyHash(std::span<const std::uint64_t> key) {
  std::uint64_t h = 0x9e3779b97f4a7c15ULL;
  for (std::uint64_t word : key) {
    h ^= word;
    h *= 0xbf58476d1ce4e5b9ULL;
    h ^= h >> 31;
  }
  h *= 0x94d049bb133111ebULL;
  return h ^ (h >> 29);
}

}  // namespace jobshop
