// The count of schedules within a bound is a property of the instance, not of how it is written
// down: renumbering the jobs or the machines maps schedules onto schedules of the same makespan,
// and so does reversing every route (each machine's order reversed, every path read backwards);
// multiplying every time by k multiplies every makespan by k.
// The count without listing walks a tree whose canonical order and remembered states all change
// under these maps, so equal counts check it where no listing walk could.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
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

// Every time multiplied by factor: each makespan is multiplied by it too.
Instance scaleTimes(const Instance& instance, int factor) {
  Instance scaled = instance;
  for (int& time : scaled.times) time *= factor;
  return scaled;
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
  // Makespans become multiples of 3, so 3 * bound + 2 lets through the same schedules.
  EXPECT_EQ(countOf(scaleTimes(instance, 3), 3 * bound + 2), count) << "times tripled";
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
  SKIP_WHEN_SANITIZED();
  // Shapes whose loosest bound still counts in a fraction of a second.
  constexpr int kShapes[][2] = {{2, 5}, {3, 4}, {3, 5}, {4, 3}, {4, 4}, {5, 2}, {5, 3}, {6, 2}};
  for (std::uint32_t seed = 101; seed <= 130; ++seed) {
    std::mt19937 random(seed);
    const auto& [jobs, machines] = kShapes[random() % std::size(kShapes)];
    const Instance instance = randomCountInstance(jobs, machines, random);
    const SearchProblem problem = makeSearchProblem(instance);
    const int lower = makespanLowerBound(problem);
    const int total = static_cast<int>(totalWork(problem));
    for (int bound : {lower, lower + 2, total}) {
      SCOPED_TRACE(::testing::Message()
                   << "seed " << seed << ", " << jobs << "x" << machines << ", bound " << bound);
      expectCountKeptUnderRenumberingAndReversal(instance, bound, random);
    }
  }
}

TEST(CountMetamorphic, Ft06) {
  SKIP_WHEN_SANITIZED();
  const Instance instance = benchmarkInstance("ft06");
  std::mt19937 random(6);
  for (int bound : {55, 57, 60}) {
    SCOPED_TRACE(::testing::Message() << "seed 6, bound " << bound);
    expectCountKeptUnderRenumberingAndReversal(instance, bound, random);
  }
}

// One bound a test: each takes a few seconds.
TEST(CountMetamorphic, TimesScaledPastSixteenBits) {
  // ft06's times 32,768 times as long: bounds past 65,535, whose times take two fields of a key,
  // and times that all agree in their low 15 bits.
  constexpr int kFactor = 32768;
  const Instance instance = benchmarkInstance("ft06");
  const Instance scaled = scaleTimes(instance, kFactor);
  for (int bound : {55, 57, 60}) {
    SCOPED_TRACE(::testing::Message() << "bound " << bound);
    const std::string count = countOf(instance, bound);
    EXPECT_EQ(countOf(scaled, kFactor * bound), count);
    EXPECT_EQ(countOf(scaled, kFactor * bound + kFactor - 1), count);
  }
  EXPECT_EQ(countOf(scaled, kFactor * 55 - 1), "0");
}

TEST(CountMetamorphic, La02Within655) {
  SKIP_WHEN_SANITIZED();
  std::mt19937 random(655);
  SCOPED_TRACE("seed 655");
  expectCountKeptUnderRenumberingAndReversal(benchmarkInstance("la02"), 655, random);
}

TEST(CountMetamorphic, La02Within656) {
  SKIP_WHEN_SANITIZED();
  std::mt19937 random(656);
  SCOPED_TRACE("seed 656");
  expectCountKeptUnderRenumberingAndReversal(benchmarkInstance("la02"), 656, random);
}

}  // namespace jobshop
