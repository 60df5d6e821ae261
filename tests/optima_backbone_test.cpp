// The backbone the count gathers against the one read off the listed schedules themselves (ft06,
// la02, random instances at and above their optimum; one and two threads and the smallest table,
// which gives entries up), hand-checked cases, and its place in optima.json.
#include "results/optima_backbone.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "count_test_support.h"
#include "exact/optimum_search.h"
#include "exact/order_set.h"
#include "exact/parallel_count.h"
#include "results/optima_file.h"
#include "sanitized_build.h"
#include "support/progress_line.h"
#include "test_instances.h"
#include "test_seed.h"

namespace jobshop {

namespace {

// Every schedule within bound, from the listing walk: each line's machine sequences.
std::set<std::vector<int>> listedSchedules(const SearchProblem& problem, int bound) {
  std::ostringstream listing;
  ProgressLine quiet = terminalProgressLine(false);
  const CountResult counted = countSchedules(problem, {bound, {}, {}, 1, &listing}, quiet);
  EXPECT_TRUE(counted.complete);
  std::set<std::vector<int>> schedules;
  std::istringstream lines(listing.str());
  for (std::string line; std::getline(lines, line);) {
    std::istringstream numbers(line);
    std::vector<int> sequences;
    for (int job = 0; numbers >> job;) sequences.push_back(job);
    sequences.pop_back();  // the makespan
    schedules.insert(sequences);
  }
  return schedules;
}

// The backbone of the count's orders, machines and jobs from 1 as the schedules' own.
std::vector<std::array<int, 3>> countedBackbone(const SearchProblem& problem, int bound,
                                                int threads, std::size_t memoryBytes) {
  ExactCountRequest request;
  request.bound = bound;
  request.threads = threads;
  request.memoryBytes = memoryBytes;
  request.orders = true;
  ProgressLine quiet = terminalProgressLine(false);
  const ExactCountResult result = countExactly(problem, request, quiet);
  EXPECT_TRUE(result.complete);
  EXPECT_EQ(result.seenOrders.size(), static_cast<std::size_t>(orderSetWords(problem)));
  std::vector<std::array<int, 3>> orders;
  for (const auto& [m, before, after] :
       backboneOrders(result.seenOrders, problem.jobs, problem.machines))
    orders.push_back({m + 1, before + 1, after + 1});
  return orders;
}

// One thread, two, and a table of the smallest size (1 byte asks for the least the table takes).
void expectCountedBackboneMatchesList(const SearchProblem& problem, int bound) {
  const std::set<std::vector<int>> schedules = listedSchedules(problem, bound);
  const OptimaBackbone listed = backboneOfSchedules(schedules, problem.jobs, problem.machines);
  SCOPED_TRACE("bound " + std::to_string(bound) + ", " + std::to_string(schedules.size()) +
               " schedules, " + std::to_string(listed.pairs()) + " backbone pairs");
  EXPECT_EQ(countedBackbone(problem, bound, 1, kDefaultCountMemoryMb << 20), listed.orders);
  EXPECT_EQ(countedBackbone(problem, bound, 2, kDefaultCountMemoryMb << 20), listed.orders);
  EXPECT_EQ(countedBackbone(problem, bound, 1, 1), listed.orders) << "in the smallest table";
}

// J = 2, M = 2, both jobs M1 then M2, job 1 taking 1 then 3, job 2 taking 3 then 1. The four
// pairs of orders, by hand: job 1 first on both ends at 1 + 3 + 1 = 5; job 2 first on both at
// 3 + 1 + 3 = 7; job 1 first on M1 and job 2 on M2 ends at 8 (M1 1 | 1-4, M2 2: 4-5, 1: 5-8); job
// 2 first on M1 and job 1 on M2 at 8 (M1 2: 0-3, 1: 3-4, M2 1: 4-7, 2: 7-8).
SearchProblem twoJobFlowShop() {
  return makeSearchProblem(makeInstance(2, 2, {1, 3, 3, 1}, {1, 2, 1, 2}));
}

TEST(OptimaBackbone, CountedMatchesTheHandCheckedSchedules) {
  const SearchProblem problem = twoJobFlowShop();
  // At 5 one schedule: job 1 before job 2 on both machines, 2 of 2 pairs.
  const std::vector<std::array<int, 3>> both{{1, 1, 2}, {2, 1, 2}};
  EXPECT_EQ(countedBackbone(problem, 5, 1, 1), both);
  // At 7 and 8 both orders are seen on each machine: no pair is fixed.
  EXPECT_TRUE(countedBackbone(problem, 7, 1, 1).empty());
  EXPECT_TRUE(countedBackbone(problem, 8, 2, 1).empty());
  // Below 5 there is no schedule, and so no backbone pair either.
  EXPECT_TRUE(countedBackbone(problem, 4, 1, 1).empty());
}

TEST(OptimaBackbone, FromSchedulesAndItsCells) {
  // J = 3, M = 2; machine 1 is 1 2 3 in both, machine 2 is 3 1 2 and 1 3 2.
  const std::set<std::vector<int>> schedules{{1, 2, 3, 3, 1, 2}, {1, 2, 3, 1, 3, 2}};
  const OptimaBackbone backbone = backboneOfSchedules(schedules, 3, 2);
  EXPECT_EQ(backbone.of, 6);  // 2 machines * 3 * 2 / 2 = 6 pairs, by hand
  // Machine 1: all three pairs; machine 2: 1 and 3 swap, 2 is last in both: 1<2, 3<2.
  const std::vector<std::array<int, 3>> orders{
      {1, 1, 2}, {1, 1, 3}, {1, 2, 3}, {2, 1, 2}, {2, 3, 2}};
  EXPECT_EQ(backbone.orders, orders);
  EXPECT_DOUBLE_EQ(backbone.share(), 5.0 / 6.0);  // 5 of 6, by hand
  // Every cell of machine 1 is fixed; on machine 2 only job 2, last in both.
  EXPECT_EQ(backboneCells({1, 2, 3, 3, 1, 2}, 3, backbone),
            (std::vector<bool>{true, true, true, false, false, true}));
  EXPECT_TRUE(backboneOfSchedules({}, 3, 2).orders.empty());
}

TEST(OptimaBackbone, CountedMatchesListedOnFt06) {
  const SearchProblem ft06 = makeSearchProblem(benchmarkInstance("ft06"));
  for (int bound = 55; bound <= 58; ++bound) expectCountedBackboneMatchesList(ft06, bound);
}

TEST(OptimaBackbone, CountedMatchesListedOnLa02) {
  SKIP_WHEN_SANITIZED();
  expectCountedBackboneMatchesList(makeSearchProblem(benchmarkInstance("la02")), 656);
}

// The most schedules a random instance's bound may have to be listed for the comparison.
constexpr std::int64_t kMostListed = 20000;

TEST(OptimaBackbone, CountedMatchesListedOnRandomInstances) {
  SKIP_WHEN_SANITIZED();
  const unsigned seed = testSeed();
  SCOPED_TRACE(replayNote(seed));
  std::mt19937 random(seed);
  int compared = 0;
  for (const auto& [jobs, machines] : {std::pair{4, 4}, {5, 4}, {4, 5}, {5, 5}, {6, 5}, {5, 6}}) {
    const SearchProblem problem = makeSearchProblem(randomCountInstance(jobs, machines, random));
    const int optimum = findOptimum(problem, StopCondition{}).makespan;
    SCOPED_TRACE(std::to_string(jobs) + "x" + std::to_string(machines) + ", optimum " +
                 std::to_string(optimum));
    for (int bound : {optimum, optimum + 1, optimum + 3}) {
      // Zero times make some draws' sets huge; listing those would take the test minutes.
      if (!listedCountUpTo(problem, bound, kMostListed)) continue;
      expectCountedBackboneMatchesList(problem, bound);
      ++compared;
    }
  }
  // At least every optimum's set, however many larger sets were too large to list.
  EXPECT_GE(compared, 6);
}

TEST(OptimaBackbone, RoundTripsThroughOptimaJson) {
  const std::string folder = makeTempFolder();
  EnumeratedOptima written;
  written.jobs = 3;
  written.machines = 2;
  written.bound = 10;
  written.count = 2;
  written.complete = true;
  written.backbone = backboneOfSchedules({{1, 2, 3, 3, 1, 2}, {1, 2, 3, 1, 3, 2}}, 3, 2);
  const std::string text = enumeratedOptimaJson(written);
  EXPECT_NE(text.find("\"backbone\": {\n    \"pairs\": 5,\n    \"of\": 6,"), std::string::npos)
      << text;
  writeFile(folder + "optima.json", text);
  const OptimaInFolder read = loadEnumeratedOptima(folder);
  ASSERT_TRUE(read && *read) << (read ? "" : read.reason());
  ASSERT_TRUE((*read)->backbone);
  EXPECT_EQ(*(*read)->backbone, *written.backbone);

  // Without one, nothing is written and nothing read.
  written.backbone.reset();
  EXPECT_EQ(enumeratedOptimaJson(written).find("backbone"), std::string::npos);
}

TEST(OptimaBackbone, RefusesAMalformedBackbone) {
  const std::string head =
      R"({"jobs": 3, "machines": 2, "bound": 10, "count": 2, "complete": true, "backbone": )";
  for (const char* backbone :
       {R"({"pairs": 1, "of": 6, "share": 0.1, "orders": [[3, 1, 2]]})",  // no machine 3
        R"({"pairs": 1, "of": 6, "share": 0.1, "orders": [[1, 2, 2]]})",  // a job with itself
        R"({"pairs": 2, "of": 6, "share": 0.3, "orders": [[1, 1, 2]]})",  // one order short
        R"({"pairs": 1, "of": 5, "share": 0.2, "orders": [[1, 1, 2]]})",  // another instance
        R"({"pairs": 2, "of": 6, "share": 0.3, "orders": [[1, 1, 2], [1, 2, 1]]})",  // twice
        R"({"pairs": 1, "of": 6, "share": 0.1, "orders": [[1, 1]]})"}) {
    const std::string folder = makeTempFolder();
    writeFile(folder + "optima.json", head + backbone + "}");
    const OptimaInFolder read = loadOptimaSummary(folder);
    ASSERT_FALSE(read) << backbone;
    EXPECT_NE(read.reason().find("backbone"), std::string::npos) << read.reason();
  }
}

}  // namespace

}  // namespace jobshop
