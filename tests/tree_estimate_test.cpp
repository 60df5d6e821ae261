// The tree estimate against the exact counts of the listing walk: exact on a tree of equal
// branching, within a few standard errors elsewhere, reproducible from its seed.
#include "exact/tree_estimate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "exact/optimum_search.h"
#include "exact/parallel_count.h"
#include "input/instance_reader.h"
#include "sanitized_build.h"
#include "test_instances.h"

namespace jobshop {

namespace {

std::int64_t exactCount(const SearchProblem& problem, int bound) {
  ProgressLine quiet = terminalProgressLine(true);
  CountRequest request;
  request.bound = bound;
  const CountResult result = countSchedules(problem, request, quiet);
  EXPECT_TRUE(result.complete);
  return result.count;
}

TreeEstimate estimate(const SearchProblem& problem, int bound, std::int64_t probes,
                      std::uint64_t seed) {
  TreeEstimateRequest request;
  request.bound = bound;
  request.probes = probes;
  request.seed = seed;
  return estimateTree(problem, request);
}

SearchProblem ft06() {
  return makeSearchProblem(
      readInstance(std::string(JOBSHOP_SOURCE_DIR) + "/tests/data/benchmarks/ft06.txt"));
}

// Routes shuffled and times drawn by hand from the seed, so that the instances are the same with
// every standard library (std::shuffle's order is not).
Instance randomInstance(int jobs, int machines, int maxTime, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::vector<int> times, routing;
  for (int j = 0; j < jobs; ++j) {
    std::vector<int> route;
    for (int m = 1; m <= machines; ++m) route.push_back(m);
    for (int k = machines - 1; k > 0; --k)
      std::swap(route[static_cast<std::size_t>(k)],
                route[static_cast<std::size_t>(random() % static_cast<std::uint64_t>(k + 1))]);
    routing.insert(routing.end(), route.begin(), route.end());
    for (int m = 0; m < machines; ++m)
      times.push_back(static_cast<int>(random() % static_cast<std::uint64_t>(maxTime + 1)));
  }
  return makeInstance(jobs, machines, times, routing);
}

// The guesses' mean against the exact count, the seeds printed so that a case can be replayed.
void expectWithinFourErrors(const TreeEstimate& e, std::int64_t exact, std::int64_t probes,
                            const std::string& what) {
  std::cout << what << ": estimate " << e.estimate << " +- " << e.standardError << ", exact "
            << exact << '\n';
  const double gap = std::abs(e.estimate - static_cast<double>(exact));
  EXPECT_LE(gap, 4 * e.standardError) << what;
  EXPECT_EQ(e.probes, probes) << what;
  EXPECT_GT(e.reached, 0) << what;
}

}  // namespace

TEST(TreeEstimate, EqualBranchingGivesTheExactCount) {
  // Five jobs of one operation each on one machine: every order is a schedule of makespan 15,
  // and each step takes the machine, so nothing stays forbidden: 5, 4, 3, 2, 1 children down every
  // path, 5! = 120 schedules, and every probe guesses 120.
  const SearchProblem oneMachine =
      makeSearchProblem(makeInstance(5, 1, {1, 2, 3, 4, 5}, {1, 1, 1, 1, 1}));
  ASSERT_EQ(exactCount(oneMachine, 15), 120);
  const TreeEstimate e = estimate(oneMachine, 15, 50, 7);
  EXPECT_EQ(e.estimate, 120);
  EXPECT_EQ(e.standardError, 0);
  EXPECT_EQ(e.probes, 50);
  EXPECT_EQ(e.reached, 50);

  // Zero times: the same tree, every order of makespan 0 (the exact search's hand count is 3! = 6
  // for three such jobs).
  const SearchProblem zeros = makeSearchProblem(makeInstance(4, 1, {0, 0, 0, 0}, {1, 1, 1, 1}));
  ASSERT_EQ(exactCount(zeros, 0), 24);
  const TreeEstimate z = estimate(zeros, 0, 10, 3);
  EXPECT_EQ(z.estimate, 24);
  EXPECT_EQ(z.standardError, 0);
}

TEST(TreeEstimate, TwoGuessesGiveTheirBinomialMeanAndError) {
  // The crossed two-by-two instance within 11 has 3 schedules (the exact search's hand count):
  // the root has two children, one above a single schedule and the other above two, so a probe
  // guesses 2 or 4, each with probability 1/2. With k fours among n probes the mean is
  // 2 + 2k/n, the squared deviations add up to (4 - 2)^2 k (n - k) / n, and the standard error
  // is the square root of that over (n - 1) n.
  const SearchProblem crossed = makeSearchProblem(twoByTwoInstance());
  ASSERT_EQ(exactCount(crossed, 11), 3);
  const double n = 1000;
  const TreeEstimate e = estimate(crossed, 11, 1000, 42);
  const double k = (e.estimate - 2) * n / 2;
  std::cout << "seed 42: " << k << " fours of " << n << '\n';
  EXPECT_NEAR(k, std::round(k), 1e-6) << "every guess is 2 or 4";
  EXPECT_NEAR(e.standardError, std::sqrt(4 * k * (n - k) / n / ((n - 1) * n)), 1e-9);
  EXPECT_EQ(e.reached, 1000);
  // k is binomial(1000, 1/2): mean 500, standard deviation sqrt(1000 / 4) = 15.8.
  EXPECT_LE(std::abs(k - 500), 4 * 15.8) << "a fair pick between the root's two children";
}

TEST(TreeEstimate, WithinFourStandardErrorsOfTheExactCount) {
  SKIP_WHEN_SANITIZED();
  const SearchProblem benchmark = ft06();
  // At 55 every probe reaches one of the 53 schedules and the guesses stay close. At 58 they are
  // heavy-tailed: most probes guess low and a rare one far higher, so even over 20000 probes the
  // spread tends to understate the error: of seeds 1..20, 17 came within 4 errors, the other 3
  // between 4 and 7.2 below, while the mean of all their 400,000 guesses was 3420 against 3470.
  // This seed's estimate is 0.8 errors below the count; a change to the probes' random stream may
  // have to be judged over many seeds.
  const std::int64_t probesAt[][2] = {{55, 4000}, {58, 20000}};
  for (const auto& [bound, probes] : probesAt) {
    const std::uint64_t seed = 20261210 + static_cast<std::uint64_t>(bound);
    const std::string what =
        "ft06 bound " + std::to_string(bound) + " probe seed " + std::to_string(seed);
    expectWithinFourErrors(estimate(benchmark, static_cast<int>(bound), probes, seed),
                           exactCount(benchmark, static_cast<int>(bound)), probes, what);
  }
  // {jobs, machines, largest time, slack above the optimum}; times drawn from 0 up, so some are 0.
  const int shapes[][4] = {{4, 3, 5, 2}, {5, 3, 3, 1}, {4, 4, 0, 0}, {4, 4, 6, 4}, {5, 4, 2, 1}};
  std::uint64_t instanceSeed = 91;
  for (const auto& shape : shapes) {
    ++instanceSeed;
    const SearchProblem problem =
        makeSearchProblem(randomInstance(shape[0], shape[1], shape[2], instanceSeed));
    const int bound = findOptimum(problem, StopCondition{}).makespan + shape[3];
    const std::uint64_t probeSeed = instanceSeed * 1000 + 1;
    const std::string what = std::to_string(shape[0]) + "x" + std::to_string(shape[1]) +
                             " times 0.." + std::to_string(shape[2]) + " instance seed " +
                             std::to_string(instanceSeed) + " bound " + std::to_string(bound) +
                             " probe seed " + std::to_string(probeSeed);
    expectWithinFourErrors(estimate(problem, bound, 20000, probeSeed), exactCount(problem, bound),
                           20000, what);
  }
}

TEST(TreeEstimate, EdgeCasesAndReproducibility) {
  const SearchProblem benchmark = ft06();
  const TreeEstimate first = estimate(benchmark, 57, 300, 5);
  const TreeEstimate again = estimate(benchmark, 57, 300, 5);
  EXPECT_EQ(first.estimate, again.estimate) << "seed 5";
  EXPECT_EQ(first.standardError, again.standardError);
  EXPECT_EQ(first.reached, again.reached);
  EXPECT_NE(first.estimate, estimate(benchmark, 57, 300, 6).estimate) << "seeds 5 and 6";

  // ft06's lower bound is 47: below it the root itself is cut. At 54, one short of the optimum,
  // the root passes but every probe dies on the way down.
  ASSERT_EQ(makespanLowerBound(benchmark), 47);
  for (int bound : {46, 54}) {
    const TreeEstimate none = estimate(benchmark, bound, 40, 1);
    EXPECT_EQ(none.estimate, 0) << bound;
    EXPECT_EQ(none.standardError, 0) << bound;
    EXPECT_EQ(none.reached, 0) << bound;
    EXPECT_EQ(none.probes, 40) << bound;
  }

  const TreeEstimate single = estimate(benchmark, 60, 1, 9);
  EXPECT_EQ(single.probes, 1);
  EXPECT_EQ(single.standardError, 0) << "no spread from one probe";

  TreeEstimateRequest late;
  late.bound = 60;
  late.probes = 1000;
  late.stop.deadline = std::chrono::steady_clock::now() - std::chrono::seconds(1);
  const TreeEstimate none = estimateTree(benchmark, late);
  EXPECT_EQ(none.probes, 0) << "a deadline already past stops before the first probe";
  EXPECT_EQ(none.estimate, 0);
}

}  // namespace jobshop
