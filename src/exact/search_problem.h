// The instance as the exact search reads it: every operation's machine, duration and the work
// left in its job after it, flattened job-major so the inner loops index one array.
#pragma once

#include <cstdint>
#include <vector>

#include "input/instance.h"

namespace jobshop {

// A job set on one machine is one bit per job in a 64-bit word.
inline constexpr int kMaxSearchJobs = 64;

struct SearchProblem {
  int jobs = 0;
  int machines = 0;
  // Index j*M + k is job j's k-th operation (both from 0).
  std::vector<int> machine;      // 0-based machine
  std::vector<int> duration;     // processing time
  std::vector<int> tail;         // the job's processing time after this operation
  std::vector<int> opOnMachine;  // [j*M + m]: index of job j's operation on machine m
};

// The search's view of instance; the caller checks jobs <= kMaxSearchJobs first.
SearchProblem makeSearchProblem(const Instance& instance);

// The classic lower bound: the largest job total and the largest machine load.
int makespanLowerBound(const SearchProblem& problem);

// Sum of every processing time: no semi-active schedule is longer.
std::int64_t totalWork(const SearchProblem& problem);

}  // namespace jobshop
