// The count of schedules within a bound is a property of the instance, not of how it is written
// down: renumbering the jobs or the machines maps schedules onto schedules of the same makespan,
// and so does reversing every route (each machine's order reversed, every path read backwards).
// The count without listing walks a tree whose canonical order and remembered states all change
// under these maps, so equal counts check it where no listing walk could.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "count_test_support.h"
#include "exact/search_problem.h"
#include "input/instance.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// newNumber[k - 1] is the new number (from 1) of what was numbered k.
using Renumbering = std::vector<int>;

Renumbering randomRenumbering(int size, std::mt19937& random) {
  Renumbering numbers(static_cast<std::size_t>(size));
  std::iota(numbers.begin(), numbers.end(), 1);
  std::shuffle(numbers.begin(), numbers.end(), random);
  return numbers;
}

std::size_t cell(const Instance& instance, int job, int column) {
  return static_cast<std::size_t>((job - 1) * instance.machines + column - 1);
}

// Job j becomes job newNumber[j - 1], with its times and route.
Instance renumberJobs(const Instance& instance, const Renumbering& newNumber) {
  Instance renumbered = instance;
  for (int j = 1; j <= instance.jobs; ++j) {
    const int to = newNumber[static_cast<std::size_t>(j - 1)];
    for (int k = 1; k <= instance.machines; ++k) {
      renumbered.times[cell(instance, to, k)] = instance.times[cell(instance, j, k)];
      renumbered.routing[cell(instance, to, k)] = instance.routing[cell(instance, j, k)];
    }
  }
  return renumbered;
}

// Machine m becomes machine newNumber[m - 1] in every route, and its times move with it.
Instance renumberMachines(const Instance& instance, const Renumbering& newNumber) {
  Instance renumbered = instance;
  for (int j = 1; j <= instance.jobs; ++j) {
    for (int k = 1; k <= instance.machines; ++k) {
      const int to = newNumber[static_cast<std::size_t>(k - 1)];
      renumbered.times[cell(instance, j, to)] = instance.times[cell(instance, j, k)];
      const int machine = instance.routing[cell(instance, j, k)];
      renumbered.routing[cell(instance, j, k)] = newNumber[static_cast<std::size_t>(machine - 1)];
    }
  }
  return renumbered;
}

// Every job's operations in the opposite order; the times stay with their machines.
Instance reverseRoutes(const Instance& instance) {
  Instance reversed = instance;
  for (int j = 1; j <= instance.jobs; ++j) {
    for (int k = 1; k <= instance.machines; ++k) {
      reversed.routing[cell(instance, j, k)] =
          instance.routing[cell(instance, j, instance.machines + 1 - k)];
    }
  }
  return reversed;
}

std::string countOf(const Instance& instance, int bound) {
  const ExactCountResult result = exactCount(makeSearchProblem(instance), bound, 2);
  EXPECT_TRUE(result.complete);
  return result.count.decimal();
}

// The count of instance at bound, then of each transformed copy, all equal.
void expectCountKeptUnderRenumberingAndReversal(const Instance& instance, int bound,
                                                std::mt19937& random) {
  const std::string count = countOf(instance, bound);
  const Renumbering jobs = randomRenumbering(instance.jobs, random);
  const Renumbering machines = randomRenumbering(instance.machines, random);
  EXPECT_EQ(countOf(renumberJobs(instance, jobs), bound), count) << "jobs renumbered";
  EXPECT_EQ(countOf(renumberMachines(instance, machines), bound), count) << "machines renumbered";
  EXPECT_EQ(countOf(reverseRoutes(instance), bound), count) << "routes reversed";
  const Instance all = reverseRoutes(renumberMachines(renumberJobs(instance, jobs), machines));
  EXPECT_EQ(countOf(all, bound), count) << "all three";
}

}  // namespace

TEST(CountMetamorphic, TransformsOfAHandBuiltInstanceAreWhatTheyShouldBe) {
  // J = 2, M = 3, times [[3, 2, 4], [2, 5, 1]], routing [[1, 2, 3], [3, 1, 2]].
  const Instance instance = exampleInstance();
  const Instance jobs = renumberJobs(instance, {2, 1});
  EXPECT_EQ(jobs.times, (std::vector<int>{2, 5, 1, 3, 2, 4}));
  EXPECT_EQ(jobs.routing, (std::vector<int>{3, 1, 2, 1, 2, 3}));
  // 1 -> 3, 2 -> 1, 3 -> 2: job 1 needs 3 on the new machine 3, 2 on 1 and 4 on 2.
  const Instance machines = renumberMachines(instance, {3, 1, 2});
  EXPECT_EQ(machines.times, (std::vector<int>{2, 4, 3, 5, 1, 2}));
  EXPECT_EQ(machines.routing, (std::vector<int>{3, 1, 2, 2, 3, 1}));
  const Instance reversed = reverseRoutes(instance);
  EXPECT_EQ(reversed.times, instance.times);
  EXPECT_EQ(reversed.routing, (std::vector<int>{3, 2, 1, 2, 1, 3}));
}

TEST(CountMetamorphic, RandomInstances) {
  for (std::uint32_t seed = 101; seed <= 140; ++seed) {
    std::mt19937 random(seed);
    const int jobs = 2 + static_cast<int>(random() % 4);
    const int machines = 2 + static_cast<int>(random() % 4);
    const Instance instance = randomCountInstance(jobs, machines, random);
    const SearchProblem problem = makeSearchProblem(instance);
    const int lower = makespanLowerBound(problem);
    const int total = static_cast<int>(totalWork(problem));
    for (int bound : {lower, lower + 2, (lower + total) / 2, total}) {
      SCOPED_TRACE(::testing::Message()
                   << "seed " << seed << ", " << jobs << "x" << machines << ", bound " << bound);
      expectCountKeptUnderRenumberingAndReversal(instance, bound, random);
    }
  }
}

TEST(CountMetamorphic, Ft06) {
  const Instance instance = benchmarkInstance("ft06");
  std::mt19937 random(6);
  for (int bound : {55, 57, 60}) {
    SCOPED_TRACE(::testing::Message() << "seed 6, bound " << bound);
    expectCountKeptUnderRenumberingAndReversal(instance, bound, random);
  }
}

TEST(CountMetamorphic, La02) {
  const Instance instance = benchmarkInstance("la02");
  std::mt19937 random(2);
  for (int bound : {655, 656}) {
    SCOPED_TRACE(::testing::Message() << "seed 2, bound " << bound);
    expectCountKeptUnderRenumberingAndReversal(instance, bound, random);
  }
}

}  // namespace jobshop
