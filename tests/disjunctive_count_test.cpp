// The count by pair orders against the state search's count: both count the same semi-active
// schedules, so every bound of every instance gives both the same number, and nothing below the
// optimum. The random instances are rich in zero times and ties, where a propagation rule that
// removed one feasible orientation too many would show.
#include "exact/disjunctive_count.h"

#include <gtest/gtest.h>

#include <random>

#include "count_test_support.h"
#include "exact/optimum_search.h"
#include "exact/search_problem.h"
#include "sanitized_build.h"
#include "test_seed.h"

namespace jobshop {

namespace {

std::uint64_t pairOrderCount(const SearchProblem& problem, int bound, int threads = 1) {
  const DisjunctiveCountResult result = countDisjunctive(problem, {bound, threads, nullptr});
  EXPECT_TRUE(result.complete);
  return result.count;
}

std::uint64_t stateCount(const SearchProblem& problem, int bound) {
  return static_cast<std::uint64_t>(std::stoull(exactCount(problem, bound).count.decimal()));
}

TEST(DisjunctiveCount, EqualsTheStateCountOnFt06FromItsOptimumUp) {
  const SearchProblem problem = makeSearchProblem(benchmarkInstance("ft06"));
  // 53 at 55 and 175 at 56: docs/exact-counts.md, counted by the state search.
  EXPECT_EQ(pairOrderCount(problem, 55), 53U);
  EXPECT_EQ(pairOrderCount(problem, 56), 175U);
  for (int bound = 57; bound <= 60; ++bound) {
    SCOPED_TRACE("bound " + std::to_string(bound));
    EXPECT_EQ(pairOrderCount(problem, bound), stateCount(problem, bound));
  }
  EXPECT_EQ(pairOrderCount(problem, 54), 0U);
}

TEST(DisjunctiveCount, EqualsTheStateCountOnLa02AtItsOptimumAndAbove) {
  const SearchProblem problem = makeSearchProblem(benchmarkInstance("la02"));
  // 66,989 at 655 and 126,453 at 656: docs/exact-counts.md.
  EXPECT_EQ(pairOrderCount(problem, 656, 2), 126453U);
  EXPECT_EQ(pairOrderCount(problem, 654), 0U);
}

// Visiting every schedule one by one, the count by pair orders takes seconds from a few hundred
// thousand: the bounds above the optimum stop before that.
constexpr std::uint64_t kMostVisited = 20000;

TEST(DisjunctiveCount, EqualsTheStateCountOnRandomSmallInstances) {
  SKIP_WHEN_SANITIZED();
  const unsigned seed = testSeed();
  SCOPED_TRACE(replayNote(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 12; ++round) {
    const int jobs = 4 + round % 3;
    const int machines = 4 + (round / 3) % 3;
    const SearchProblem problem = makeSearchProblem(randomCountInstance(jobs, machines, random));
    const int optimum = findOptimum(problem, StopCondition{}).makespan;
    EXPECT_EQ(pairOrderCount(problem, optimum - 1), 0U);
    for (int bound = optimum; bound <= optimum + 3; ++bound) {
      SCOPED_TRACE("round " + std::to_string(round) + ", bound " + std::to_string(bound));
      const std::uint64_t expected = stateCount(problem, bound);
      if (expected > kMostVisited) break;
      EXPECT_EQ(pairOrderCount(problem, bound), expected);
      EXPECT_EQ(pairOrderCount(problem, bound, 3), expected);
    }
  }
}

TEST(DisjunctiveCount, StoppedByANodeLimitGivesALowerBound) {
  const SearchProblem problem = makeSearchProblem(benchmarkInstance("la02"));
  StopCondition stop;
  stop.nodeLimit = 2000;
  const DisjunctiveCountResult result = countDisjunctive(problem, {656, 1, &stop});
  EXPECT_FALSE(result.complete);
  EXPECT_LT(result.count, 126453U);
  EXPECT_GE(result.nodes, 2000);
}

}  // namespace

}  // namespace jobshop
