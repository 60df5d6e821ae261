// The exact search against a brute force over every combination of machine orders on tiny
// instances (zero times and ties included), hand-counted cases and the known counts of ft06.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <set>
#include <sstream>

#include "analysis/semi_active_schedule.h"
#include "exact/optimum_search.h"
#include "exact/parallel_count.h"
#include "exact/schedule_search.h"
#include "input/instance_reader.h"
#include "test_instances.h"

namespace jobshop {

namespace {

using Schedules = std::set<std::vector<int>>;

// Every acyclic combination of per-machine permutations within bound, by its rebuilt makespan.
Schedules bruteForce(const Instance& instance, int bound) {
  const std::size_t jobs = static_cast<std::size_t>(instance.jobs);
  std::vector<int> identity(jobs);
  std::iota(identity.begin(), identity.end(), 1);
  std::vector<std::vector<int>> orders(static_cast<std::size_t>(instance.machines), identity);
  Schedules found;
  while (true) {
    std::vector<int> sequences;
    for (const auto& order : orders) sequences.insert(sequences.end(), order.begin(), order.end());
    const SemiActiveSchedule schedule = rebuildSchedule(instance, sequences);
    if (schedule.problem.empty() && schedule.makespan <= bound) found.insert(sequences);
    std::size_t m = 0;
    while (m < orders.size() && !std::next_permutation(orders[m].begin(), orders[m].end())) ++m;
    if (m == orders.size()) return found;
  }
}

struct Listed {
  Schedules schedules;
  std::vector<std::vector<int>> inOrder;
  std::vector<int> makespans;
};

Listed parseListing(const std::string& text, int cells) {
  Listed listed;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    EXPECT_EQ(line.back(), ' ') << line;
    std::istringstream numbers(line);
    std::vector<int> row(static_cast<std::size_t>(cells));
    for (int& job : row) numbers >> job;
    int makespan = -1;
    numbers >> makespan;
    listed.makespans.push_back(makespan);
    listed.inOrder.push_back(row);
    listed.schedules.insert(row);
  }
  return listed;
}

SearchOutcome searchAll(const Instance& instance, int bound, bool list = true) {
  SearchSettings limits;
  limits.bound = bound;
  limits.list = list;
  return searchSubtree(makeSearchProblem(instance), {}, limits);
}

Instance randomInstance(int jobs, int machines, int maxTime, std::mt19937& random) {
  std::vector<int> times, routing;
  for (int j = 0; j < jobs; ++j) {
    std::vector<int> route(static_cast<std::size_t>(machines));
    std::iota(route.begin(), route.end(), 1);
    std::shuffle(route.begin(), route.end(), random);
    routing.insert(routing.end(), route.begin(), route.end());
    for (int m = 0; m < machines; ++m) times.push_back(static_cast<int>(random() % (maxTime + 1)));
  }
  return makeInstance(jobs, machines, times, routing);
}

Instance ft06() {
  return readInstance(std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/D_Entrada.txt");
}

}  // namespace

TEST(ExactSearch, MatchesBruteForceOnTinyInstances) {
  std::mt19937 random(12345);
  const int shapes[][3] = {{3, 3, 3}, {4, 3, 2}, {3, 4, 3}, {3, 3, 0}, {2, 4, 1}, {4, 2, 5}};
  for (const auto& shape : shapes) {
    for (int trial = 0; trial < 6; ++trial) {
      const Instance instance = randomInstance(shape[0], shape[1], shape[2], random);
      const Schedules all = bruteForce(instance, std::numeric_limits<int>::max());
      int shortest = std::numeric_limits<int>::max();
      for (const auto& s : all)
        shortest = std::min(shortest, rebuildSchedule(instance, s).makespan);
      for (int bound : {shortest - 1, shortest, shortest + 1, shortest + 3, shortest + 100}) {
        const Schedules expected = bruteForce(instance, bound);
        const SearchOutcome outcome = searchAll(instance, bound);
        const Listed listed = parseListing(outcome.listing, instance.geneCount());
        SCOPED_TRACE(::testing::Message() << shape[0] << "x" << shape[1] << " times 0.." << shape[2]
                                          << " trial " << trial << " bound " << bound);
        EXPECT_EQ(outcome.found, static_cast<std::int64_t>(expected.size()));
        EXPECT_EQ(listed.inOrder.size(), listed.schedules.size()) << "a schedule listed twice";
        EXPECT_EQ(listed.schedules, expected);
        for (std::size_t k = 0; k < listed.inOrder.size(); ++k) {
          EXPECT_EQ(listed.makespans[k], rebuildSchedule(instance, listed.inOrder[k]).makespan);
        }
      }
      EXPECT_EQ(findOptimum(makeSearchProblem(instance), StopCondition{}).makespan, shortest);
    }
  }
}

TEST(ExactSearch, HandCountedCases) {
  // One machine: every order of the jobs is a schedule of the same makespan.
  const Instance oneMachine = makeInstance(2, 1, {3, 4}, {1, 1});
  EXPECT_EQ(searchAll(oneMachine, 7).found, 2);
  EXPECT_EQ(searchAll(oneMachine, 6).found, 0);
  const Instance threeOnOne = makeInstance(3, 1, {0, 0, 0}, {1, 1, 1});
  EXPECT_EQ(searchAll(threeOnOne, 0).found, 6) << "zero times: six orders, all of makespan 0";

  // Job 1 visits machines 1, 2 and job 2 machines 2, 1: machine 1 taking job 2 first while
  // machine 2 takes job 1 first is a cycle, so 3 of the 4 combinations are schedules, of
  // makespans 11, 6 and 11.
  const Instance crossed = twoByTwoInstance();
  EXPECT_EQ(searchAll(crossed, 5).found, 0);
  const SearchOutcome best = searchAll(crossed, 6);
  EXPECT_EQ(best.found, 1);
  EXPECT_EQ(best.listing, "1 2 2 1 6 \n");
  EXPECT_EQ(searchAll(crossed, 10).found, 1);
  EXPECT_EQ(searchAll(crossed, 11).found, 3);

  // The two-job, three-machine example of docs/files.md has one optimum of makespan 10.
  EXPECT_EQ(searchAll(exampleInstance(), 10).listing, "1 2 1 2 2 1 10 \n");
}

TEST(ExactSearch, KnownCountsOfFt06) {
  const Instance instance = ft06();
  EXPECT_EQ(searchAll(instance, 54, false).found, 0);
  EXPECT_EQ(searchAll(instance, 55, false).found, 53);
  EXPECT_EQ(searchAll(instance, 56, false).found, 175);
  const OptimumResult optimum = findOptimum(makeSearchProblem(instance), StopCondition{});
  EXPECT_EQ(optimum.makespan, 55);
  EXPECT_TRUE(optimum.proven);
}

TEST(ExactSearch, SplitAndThreadsKeepTheOrderOfTheWholeTree) {
  const Instance instance = ft06();
  const SearchProblem problem = makeSearchProblem(instance);
  const std::string whole = searchAll(instance, 57).listing;
  for (int subtrees : {1, 7, 300}) {
    std::string joined;
    for (const SearchPrefix& prefix : splitSearch(problem, 57, subtrees)) {
      SearchSettings limits;
      limits.bound = 57;
      limits.list = true;
      joined += searchSubtree(problem, prefix, limits).listing;
    }
    EXPECT_EQ(joined, whole) << subtrees << " subtrees";
  }
  for (int threads : {1, 2, 3}) {
    std::ostringstream listing;
    ProgressLine quiet;
    CountRequest request;
    request.bound = 57;
    request.threads = threads;
    request.listing = &listing;
    const CountResult result = countSchedules(problem, request, quiet);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(listing.str(), whole) << threads << " threads";
    EXPECT_EQ(result.count,
              static_cast<std::int64_t>(std::count(whole.begin(), whole.end(), '\n')));
  }
}

TEST(ExactSearch, LimitGivesTheFirstSchedulesAndSaysWhetherMoreExist) {
  const SearchProblem problem = makeSearchProblem(ft06());
  const std::string whole = searchAll(ft06(), 56).listing;  // 175 lines
  ProgressLine quiet;
  for (std::int64_t limit : {1, 60, 174, 175, 500}) {
    std::ostringstream listing;
    CountRequest request;
    request.bound = 56;
    request.threads = 2;
    request.limit = limit;
    request.listing = &listing;
    const CountResult result = countSchedules(problem, request, quiet);
    EXPECT_EQ(result.count, std::min<std::int64_t>(limit, 175));
    EXPECT_EQ(result.complete, limit >= 175) << limit;
    const std::string text = listing.str();
    EXPECT_EQ(text, whole.substr(0, text.size())) << "the first " << limit << " in search order";
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), result.count);
  }
}

}  // namespace jobshop
