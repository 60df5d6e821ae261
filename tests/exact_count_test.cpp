// The count without listing against the listing walk (random instances rich in zero times and
// ties, ft06, la02), on one and two threads and in a table too small to keep every count; counts
// beyond 64 and 128 bits on flow shops, whose count is known in closed form; and counts stopped
// and resumed.
#include "exact/exact_count.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "count_test_support.h"
#include "exact/search_problem.h"
#include "exact/wide_count.h"
#include "support/progress_line.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// The three ways a count must come out the same: one thread, two, and a table of the smallest
// size, which has to give entries up once the count stores more states than it holds.
void expectExactCountsOf(const SearchProblem& problem, int bound, const std::string& expected) {
  for (int threads : {1, 2}) {
    const ExactCountResult result = exactCount(problem, bound, threads);
    EXPECT_TRUE(result.complete) << threads << " threads";
    EXPECT_EQ(result.count.decimal(), expected) << threads << " threads";
  }
  const ExactCountResult small = exactCount(problem, bound, 1, 1);
  EXPECT_TRUE(small.complete);
  EXPECT_EQ(small.count.decimal(), expected) << "in the smallest table";
}

// base^exponent in decimal digits, by schoolbook multiplication of a digit string.
std::string decimalPower(unsigned base, int exponent) {
  std::vector<unsigned> digits{1};  // least significant first
  for (int k = 0; k < exponent; ++k) {
    unsigned carry = 0;
    for (unsigned& digit : digits) {
      const unsigned product = digit * base + carry;
      digit = product % 10;
      carry = product / 10;
    }
    for (; carry > 0; carry /= 10) digits.push_back(carry % 10);
  }
  std::string text;
  for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit)
    text += static_cast<char>('0' + *digit);
  return text;
}

std::string decimalOf(unsigned __int128 value) {
  std::string text;
  do {
    text.insert(text.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
    value /= 10;
  } while (value > 0);
  return text;
}

// Every job visits machines 1..M in order, so no choice of machine orders makes a cycle and every
// one of the (J!)^M is a schedule of makespan at most the total work. Job j (from 0) takes
// time(j, m) on machine m (from 0).
template <typename Time>
Instance flowShop(int jobs, int machines, Time time) {
  std::vector<int> times;
  std::vector<int> routing;
  for (int j = 0; j < jobs; ++j) {
    for (int m = 0; m < machines; ++m) {
      times.push_back(time(j, m));
      routing.push_back(m + 1);
    }
  }
  return makeInstance(jobs, machines, times, routing);
}

int variedTime(int job, int machine) { return (5 * job + 3 * machine) % 7; }

unsigned factorial(int n) { return n <= 1 ? 1 : static_cast<unsigned>(n) * factorial(n - 1); }

Instance ft06() { return benchmarkInstance("ft06"); }

// The listing walk's count of ft06 at bound, checked against the counts known for some bounds.
std::string checkedFt06Count(const SearchProblem& problem, int bound) {
  const std::map<int, std::int64_t> known = {{54, 0}, {55, 53}, {56, 175}, {62, 382766}};
  const std::int64_t listed = listedCount(problem, bound, 2);
  if (known.contains(bound)) {
    EXPECT_EQ(listed, known.at(bound));
  }
  return std::to_string(listed);
}

}  // namespace

TEST(ExactCount, AgreesWithTheListingWalkOnRandomInstances) {
  SKIP_WHEN_SANITIZED();
  // Past this many the listing walk takes too long; the count must then be larger.
  constexpr std::int64_t kListingCap = 100000;
  for (std::uint32_t seed = 1; seed <= 32; ++seed) {
    std::mt19937 random(seed);
    const int jobs = 2 + static_cast<int>(random() % 4);
    const int machines = 1 + static_cast<int>(random() % 4);
    const SearchProblem problem = makeSearchProblem(randomCountInstance(jobs, machines, random));
    const int lower = makespanLowerBound(problem);
    const int total = static_cast<int>(totalWork(problem));
    for (int bound :
         {lower - 1, lower, lower + 1, lower + (total - lower) / 4, (lower + total) / 2, total}) {
      SCOPED_TRACE(::testing::Message()
                   << "seed " << seed << ", " << jobs << "x" << machines << ", bound " << bound);
      const std::optional<std::int64_t> listed = listedCountUpTo(problem, bound, kListingCap);
      if (listed) {
        expectExactCountsOf(problem, bound, std::to_string(*listed));
        continue;
      }
      const ExactCountResult result = exactCount(problem, bound, 2);
      unsigned __int128 count = 0;
      ASSERT_TRUE(countFits128(result.count.limbs, count));
      EXPECT_GT(count, static_cast<unsigned __int128>(kListingCap));
    }
  }
}

TEST(ExactCount, AgreesWithTheListingWalkOnFt06UpTo60) {
  SKIP_WHEN_SANITIZED();
  const SearchProblem problem = makeSearchProblem(ft06());
  for (int bound = 54; bound <= 60; ++bound) {
    SCOPED_TRACE(::testing::Message() << "bound " << bound);
    expectExactCountsOf(problem, bound, checkedFt06Count(problem, bound));
  }
}

TEST(ExactCount, AgreesWithTheListingWalkOnFt06Within61And62) {
  SKIP_WHEN_SANITIZED();
  const SearchProblem problem = makeSearchProblem(ft06());
  for (int bound : {61, 62}) {
    SCOPED_TRACE(::testing::Message() << "bound " << bound);
    expectExactCountsOf(problem, bound, checkedFt06Count(problem, bound));
  }
}

TEST(ExactCount, AgreesWithTheListingWalkOnLa02) {
  SKIP_WHEN_SANITIZED();
  const SearchProblem problem = makeSearchProblem(benchmarkInstance("la02"));
  for (const auto& [bound, known] : {std::pair{655, 66989}, std::pair{656, 126453}}) {
    SCOPED_TRACE(::testing::Message() << "bound " << bound);
    const std::int64_t listed = listedCount(problem, bound, 2);
    EXPECT_EQ(listed, known);
    expectExactCountsOf(problem, bound, std::to_string(listed));
  }
}

TEST(ExactCount, ATableTooSmallReplacesEntriesAndStaysExact) {
  SKIP_WHEN_SANITIZED();
  // ft06 within 62 stores more counts than the smallest table holds.
  const SearchProblem problem = makeSearchProblem(ft06());
  const ExactCountResult roomy = exactCount(problem, 62, 1);
  for (int threads : {1, 2}) {
    const ExactCountResult small = exactCount(problem, 62, threads, 1);
    EXPECT_TRUE(small.complete);
    EXPECT_EQ(small.count.decimal(), "382766") << threads << " threads";  // the listing walk's
    EXPECT_LT(small.cacheBytes, roomy.cacheBytes) << threads << " threads";
    EXPECT_GT(small.cache.evictions, roomy.cache.evictions) << threads << " threads";
  }
}

TEST(ExactCount, CountsCarryAcrossLimbs) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  WideCount count(3);
  addSmallCount(count.limbs, kMax);
  addSmallCount(count.limbs, 1);
  EXPECT_EQ(count.decimal(), "18446744073709551616");  // python3: 2**64
  clearCount(count.limbs);
  addSmallCount(count.limbs, kMax);
  // 2^128 - 2^64 + 1: its high limb all ones, which the low limb's carry overflows.
  addSmallCount(count.limbs, (static_cast<unsigned __int128>(kMax) << 64) | 1);
  EXPECT_EQ(count.decimal(), "340282366920938463463374607431768211456");  // python3: 2**128
  WideCount allOnes(3);
  allOnes.limbs = {kMax, kMax, 0};
  WideCount one(3);
  one.limbs = {1, 0, 0};
  allOnes.add(one);
  EXPECT_EQ(allOnes.decimal(), "340282366920938463463374607431768211456");
}

// A checkpoint's counts come back through these digits, so a count must survive them whole and
// anything a count of that width cannot be must be refused.
TEST(ExactCount, CountsReadBackFromTheirDigits) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  WideCount wide(2);
  wide.limbs = {kMax, kMax};
  for (const WideCount& count : {WideCount(2), wide}) {
    const std::optional<WideCount> read = parseWideCount(count.decimal(), 2);
    ASSERT_TRUE(read) << count.decimal();
    EXPECT_EQ(*read, count) << count.decimal();
  }
  const std::optional<WideCount> carried = parseWideCount("18446744073709551616", 2);  // 2**64
  ASSERT_TRUE(carried);
  EXPECT_EQ(carried->limbs, (std::vector<std::uint64_t>{0, 1}));
  EXPECT_FALSE(parseWideCount("18446744073709551616", 1)) << "2**64 in one limb";
  EXPECT_FALSE(parseWideCount("340282366920938463463374607431768211456", 2)) << "2**128";
  for (const char* bad : {"", "12a", "-1", " 1", "1.0"})
    EXPECT_FALSE(parseWideCount(bad, 2)) << bad;
}

TEST(ExactCount, FlowShopsAdmitEveryCombinationOfMachineOrders) {
  SKIP_WHEN_SANITIZED();
  // Small enough for the listing walk: 6^3 = 216 and 24^3 = 13,824.
  for (const auto& [jobs, machines] : {std::pair{3, 3}, std::pair{4, 3}}) {
    SCOPED_TRACE(::testing::Message() << jobs << "x" << machines);
    const SearchProblem problem = makeSearchProblem(flowShop(jobs, machines, variedTime));
    const int bound = static_cast<int>(totalWork(problem));
    const std::string expected = decimalPower(factorial(jobs), machines);
    EXPECT_EQ(std::to_string(listedCount(problem, bound)), expected);
    expectExactCountsOf(problem, bound, expected);
  }
  {
    // 6^10 = 60,466,176, past what the listing walk could visit.
    const SearchProblem problem = makeSearchProblem(flowShop(3, 10, variedTime));
    ASSERT_EQ(decimalPower(6, 10), "60466176");
    expectExactCountsOf(problem, static_cast<int>(totalWork(problem)), decimalPower(6, 10));
  }
  {
    // Beyond 64 bits, within 128: 6^30 = 221073919720733357899776 (python3: 6**30), with times
    // of 0 and 1.
    const SearchProblem problem =
        makeSearchProblem(flowShop(3, 30, [](int j, int m) { return variedTime(j, m) % 2; }));
    unsigned __int128 power = 1;
    for (int m = 0; m < 30; ++m) power *= 6;
    const std::string expected = decimalPower(6, 30);
    ASSERT_EQ(decimalOf(power), expected);
    ASSERT_GT(power, static_cast<unsigned __int128>(std::numeric_limits<std::uint64_t>::max()));
    expectExactCountsOf(problem, static_cast<int>(totalWork(problem)), expected);
  }
  {
    // Beyond 128 bits: 6^50 = 808281277464764060643139600456536293376 (python3: 6**50, against
    // 2**128 = 340282366920938463463374607431768211456), every time 0.
    const SearchProblem problem = makeSearchProblem(flowShop(3, 50, [](int, int) { return 0; }));
    const std::string expected = decimalPower(6, 50);
    ASSERT_EQ(expected, "808281277464764060643139600456536293376");
    expectExactCountsOf(problem, 0, expected);
  }
}

namespace {

// Counts, stopped by the subtree limit once `more` subtrees were done beyond the ones resumed: the
// threads see the stop at once, so at most one subtree per thread is done beyond them.
ExactCountResult countInterrupted(const SearchProblem& problem, int bound, int threads, int more,
                                  const CountProgress* resumeFrom) {
  ProgressLine quiet = terminalProgressLine(true);
  ExactCountRequest request;
  request.bound = bound;
  request.threads = threads;
  request.resumeFrom = resumeFrom;
  request.stop.subtreeLimit = more;
  return countExactly(problem, request, quiet);
}

ExactCountResult countResumed(const SearchProblem& problem, int bound, int threads,
                              const CountProgress& from) {
  ProgressLine quiet = terminalProgressLine(true);
  ExactCountRequest request;
  request.bound = bound;
  request.threads = threads;
  request.resumeFrom = &from;
  return countExactly(problem, request, quiet);
}

bool atMost(const WideCount& count, const std::string& exact) {
  const std::string digits = count.decimal();
  return digits.size() != exact.size() ? digits.size() < exact.size() : digits <= exact;
}

}  // namespace

TEST(ExactCount, AStoppedCountResumesToTheExactCount) {
  SKIP_WHEN_SANITIZED();
  // Stopped after three subtrees, and again after three more, of some hundreds.
  const SearchProblem problem = makeSearchProblem(benchmarkInstance("la02"));
  constexpr int kBound = 656;
  const std::string exact = "126453";  // the listing walk's, checked above
  const int subtrees = exactCountSubtrees(problem, kBound);
  ASSERT_GT(subtrees, 8) << "too few subtrees to stop twice part-way";
  for (int threads : {1, 2}) {
    SCOPED_TRACE(::testing::Message() << threads << " threads");
    const ExactCountResult first = countInterrupted(problem, kBound, threads, 3, nullptr);
    EXPECT_FALSE(first.complete);
    EXPECT_TRUE(first.limitReached);
    EXPECT_FALSE(first.interrupted);
    EXPECT_FALSE(first.timedOut);
    EXPECT_TRUE(atMost(first.count, exact)) << first.count.decimal();
    EXPECT_EQ(first.progress.subtrees, subtrees);
    EXPECT_GE(first.progress.done.size(), 3u);
    EXPECT_LT(first.progress.done.size(), static_cast<std::size_t>(subtrees));

    const ExactCountResult resumed = countResumed(problem, kBound, threads, first.progress);
    EXPECT_TRUE(resumed.complete);
    EXPECT_EQ(resumed.count.decimal(), exact);
    EXPECT_EQ(resumed.progress.done.size(), static_cast<std::size_t>(subtrees));

    const ExactCountResult second = countInterrupted(problem, kBound, threads, 3, &first.progress);
    EXPECT_FALSE(second.complete);
    EXPECT_TRUE(second.limitReached);
    EXPECT_TRUE(atMost(second.count, exact)) << second.count.decimal();
    EXPECT_GE(second.progress.done.size(), first.progress.done.size() + 3);
    EXPECT_LT(second.progress.done.size(), static_cast<std::size_t>(subtrees));
    for (const auto& done : first.progress.done) {
      EXPECT_NE(std::find(second.progress.done.begin(), second.progress.done.end(), done),
                second.progress.done.end())
          << "subtree " << done.first << " of the first count is kept";
    }
    const ExactCountResult third = countResumed(problem, kBound, threads, second.progress);
    EXPECT_TRUE(third.complete);
    EXPECT_EQ(third.count.decimal(), exact);
  }
}

}  // namespace jobshop

namespace jobshop {

TEST(ExactCount, ResumingFromAnotherCutIsRefused) {
  const SearchProblem problem = makeSearchProblem(benchmarkInstance("la02"));
  const int subtrees = exactCountSubtrees(problem, 656);
  ProgressLine quiet = terminalProgressLine(true);
  for (const CountProgress& foreign :
       {CountProgress{subtrees + 1, {}, {}},
        CountProgress{subtrees, {{subtrees, WideCount(2)}}, {}},
        CountProgress{subtrees, {{0, WideCount(2)}, {0, WideCount(2)}}, {}}}) {
    ExactCountRequest request;
    request.bound = 656;
    request.resumeFrom = &foreign;
    EXPECT_THROW(countExactly(problem, request, quiet), std::invalid_argument);
  }
}

}  // namespace jobshop
