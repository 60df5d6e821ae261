// A count stopped again and again goes on from where each stop left it: a chain of short counts,
// each walking a few thousand nodes and passing on its places, reaches the uninterrupted count,
// and the places pass through the checkpoint's text unchanged.
#include <gtest/gtest.h>

#include <string>

#include "count_test_support.h"
#include "exact/exact_count.h"
#include "results/count_checkpoint.h"
#include "sanitized_build.h"
#include "support/memory_limits.h"

namespace jobshop {

namespace {

// One short count of one thread: it stops at its first look past nodeLimit nodes, so the same
// progress gives the same places every time.
ExactCountResult countSlice(const SearchProblem& problem, int bound, std::int64_t nodeLimit,
                            const CountProgress* from) {
  ProgressLine quiet = terminalProgressLine(true);
  ExactCountRequest request;
  request.bound = bound;
  request.threads = 1;
  request.memoryBytes = kLeastCountMemoryMb << 20;
  request.resumeFrom = from;
  request.stop.nodeLimit = nodeLimit;
  return countExactly(problem, request, quiet);
}

}  // namespace

TEST(CountResumeChain, ShortCountsOneAfterAnotherReachTheExactCount) {
  SKIP_WHEN_SANITIZED();
  const SearchProblem problem = makeSearchProblem(benchmarkInstance("la02"));
  constexpr int kBound = 656;
  const std::string exact = "126453";  // the listing walk's count (exact_count_test)
  constexpr int kMostSlices = 2000;
  CountProgress progress;
  ExactCountResult slice = countSlice(problem, kBound, 20000, nullptr);
  int slices = 1;
  bool sawPartial = false;
  while (!slice.complete && slices < kMostSlices) {
    sawPartial = sawPartial || !slice.progress.partial.empty();
    ASSERT_FALSE(slice.noProgress) << "slice " << slices;
    progress = slice.progress;
    slice = countSlice(problem, kBound, 20000, &progress);
    ++slices;
  }
  ASSERT_TRUE(slice.complete) << "not done after " << slices << " slices";
  EXPECT_EQ(slice.count.decimal(), exact) << slices << " slices";
  EXPECT_TRUE(sawPartial) << "no slice stopped inside a subtree: the test tests nothing";
  EXPECT_GT(slices, 3);
}

TEST(CountResumeChain, AStoppedCountsPlacesGoOnThroughItsCheckpointText) {
  SKIP_WHEN_SANITIZED();
  const SearchProblem problem = makeSearchProblem(benchmarkInstance("la02"));
  const ExactCountResult first = countSlice(problem, 656, 20000, nullptr);
  ASSERT_FALSE(first.progress.partial.empty());
  CountCheckpoint checkpoint{"ab", 10, 5, 656, first.progress.subtrees, {}, {}};
  for (const PartialSubtree& p : first.progress.partial)
    checkpoint.partial.push_back({p.index, p.place.at, p.place.before.decimal()});
  const OrFailure<CountCheckpoint> read = parseCountCheckpoint(countCheckpointJson(checkpoint));
  ASSERT_TRUE(read) << read.reason();
  EXPECT_EQ(read->partial, checkpoint.partial);
}

TEST(CountResumeChain, APlaceNoWalkStopsAtIsRefused) {
  const SearchProblem problem = makeSearchProblem(benchmarkInstance("la02"));
  const int subtrees = exactCountSubtrees(problem, 656);
  ProgressLine quiet = terminalProgressLine(true);
  // A job beyond the instance's, and a place longer than a schedule has steps.
  for (const std::vector<int>& at : {std::vector<int>{10}, std::vector<int>(60, 0)}) {
    CountProgress foreign{subtrees, {}, {{0, {at, WideCount(countLimbsFor(problem))}}}};
    ExactCountRequest request;
    request.bound = 656;
    request.resumeFrom = &foreign;
    EXPECT_THROW(countExactly(problem, request, quiet), std::invalid_argument);
  }
}

TEST(CountResumeChain, ATimeLimitSpentBeforeTheCountIsNoProgress) {
  const SearchProblem problem = makeSearchProblem(benchmarkInstance("la02"));
  ProgressLine quiet = terminalProgressLine(true);
  ExactCountRequest request;
  request.bound = 656;
  request.threads = 1;
  request.memoryBytes = kLeastCountMemoryMb << 20;
  request.stop.deadline = std::chrono::steady_clock::now();
  const ExactCountResult result = countExactly(problem, request, quiet);
  EXPECT_FALSE(result.complete);
  EXPECT_TRUE(result.noProgress);
}

TEST(CountMemory, TheDefaultTableFitsTheLimits) {
  constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
  EXPECT_EQ(defaultCountMemoryMb({}), 6144u);  // no limit: the usual default
  EXPECT_EQ(defaultCountMemoryMb({4 * kGiB, std::nullopt, std::nullopt}),
            2048u);  // 4 GiB / 2, by hand
  EXPECT_EQ(defaultCountMemoryMb({std::nullopt, 1 * kGiB, std::nullopt}),
            512u);                                                            // 1 GiB / 2, by hand
  EXPECT_EQ(defaultCountMemoryMb({4 * kGiB, 1 * kGiB, std::nullopt}), 512u);  // the smaller binds
  EXPECT_EQ(defaultCountMemoryMb({64 * kGiB, std::nullopt, std::nullopt}),
            6144u);  // 32 GiB > 6144 MB
  EXPECT_EQ(defaultCountMemoryMb({std::nullopt, 8u << 20, std::nullopt}),
            16u);  // never under 16 MB
  EXPECT_EQ(defaultCountMemoryMb({std::nullopt, std::nullopt, 2 * kGiB}), 1024u);  // the machine's
}

TEST(CountMemory, GroupLimitsReadAsTheKernelWritesThem) {
  EXPECT_EQ(parseGroupLimit("max\n"), std::nullopt);
  EXPECT_EQ(parseGroupLimit("9223372036854771712\n"), std::nullopt);  // v1's "no limit"
  EXPECT_EQ(parseGroupLimit("1073741824\n"), std::uint64_t{1} << 30);
  EXPECT_EQ(parseGroupLimit(""), std::nullopt);
  EXPECT_EQ(parseGroupLimit("12x"), std::nullopt);
}

}  // namespace jobshop
