// Fixtures of the schedule-count tests.
#include "count_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "exact/parallel_count.h"
#include "input/instance_reader.h"
#include "support/progress_line.h"
#include "test_instances.h"

namespace jobshop {

Instance randomCountInstance(int jobs, int machines, std::mt19937& random) {
  const int palette[3] = {static_cast<int>(random() % 9) + 1, static_cast<int>(random() % 9) + 1,
                          static_cast<int>(random() % 9) + 1};
  std::vector<int> times;
  std::vector<int> routing;
  for (int j = 0; j < jobs; ++j) {
    std::vector<int> route(static_cast<std::size_t>(machines));
    std::iota(route.begin(), route.end(), 1);
    std::shuffle(route.begin(), route.end(), random);
    routing.insert(routing.end(), route.begin(), route.end());
    for (int m = 0; m < machines; ++m)
      times.push_back(random() % 4 == 0 ? 0 : palette[random() % 3]);
  }
  return makeInstance(jobs, machines, times, routing);
}

Instance benchmarkInstance(const std::string& name) {
  return readInstance(std::string(JOBSHOP_SOURCE_DIR) + "/tests/data/benchmarks/" + name + ".txt");
}

std::int64_t listedCount(const SearchProblem& problem, int bound, int threads) {
  ProgressLine quiet = terminalProgressLine(true);
  CountRequest request;
  request.bound = bound;
  request.threads = threads;
  const CountResult result = countSchedules(problem, request, quiet);
  EXPECT_TRUE(result.complete);
  return result.count;
}

std::optional<std::int64_t> listedCountUpTo(const SearchProblem& problem, int bound,
                                            std::int64_t limit) {
  ProgressLine quiet = terminalProgressLine(true);
  CountRequest request;
  request.bound = bound;
  request.limit = limit;
  const CountResult result = countSchedules(problem, request, quiet);
  if (!result.complete) return std::nullopt;
  return result.count;
}

ExactCountResult exactCount(const SearchProblem& problem, int bound, int threads,
                            std::size_t memoryBytes) {
  ProgressLine quiet = terminalProgressLine(true);
  ExactCountRequest request;
  request.bound = bound;
  request.threads = threads;
  request.memoryBytes = memoryBytes;
  return countExactly(problem, request, quiet);
}

}  // namespace jobshop
