// The one stop condition as the exact search and count meet it: a deadline already past stops
// every search, a subtree limit stops the count exactly there, a signal flag already up stops it
// before any work, and a stop raised by one thread ends a walk running on another. Which signal
// stopped the work is the first one taken, as the campaign runner reports it.
#include "support/stop_condition.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "count_test_support.h"
#include "exact/exact_count.h"
#include "exact/optimum_search.h"
#include "exact/parallel_count.h"
#include "exact/schedule_search.h"
#include "exact/tree_estimate.h"
#include "support/progress_line.h"

namespace jobshop {

namespace {

// la02 within 656 holds 126,453 schedules (the exact-count tests' listing walk): far more nodes
// than one look of a walk covers, and 256 subtrees to count.
constexpr int kLa02Bound = 656;

StopCondition pastDeadline() {
  return StopCondition{nullptr, std::chrono::steady_clock::now() - std::chrono::seconds(1)};
}

ExactCountResult countWith(const StopCondition& stop, int threads) {
  const SearchProblem problem = makeSearchProblem(benchmarkInstance("la02"));
  ProgressLine quiet = terminalProgressLine(true);
  ExactCountRequest request;
  request.bound = kLa02Bound;
  request.threads = threads;
  request.stop = stop;
  return countExactly(problem, request, quiet);
}

}  // namespace

TEST(StopCondition, ADeadlineAlreadyPastStopsEverySearchEarly) {
  const SearchProblem problem = makeSearchProblem(benchmarkInstance("la02"));
  const StopCondition late = pastDeadline();
  EXPECT_EQ(late.cause(), StopCause::kDeadline);

  SearchSettings settings;
  settings.bound = kLa02Bound;
  settings.stop = &late;
  const SearchOutcome walked = searchSubtree(problem, {}, settings);
  EXPECT_TRUE(walked.stopped);
  EXPECT_TRUE(walked.timedOut);
  EXPECT_LT(walked.found, 126453);

  EXPECT_FALSE(findOptimum(problem, late).proven);

  ProgressLine quiet = terminalProgressLine(true);
  CountRequest listing;
  listing.bound = kLa02Bound;
  listing.threads = 2;
  listing.stop = late;
  const CountResult listed = countSchedules(problem, listing, quiet);
  EXPECT_FALSE(listed.complete);
  EXPECT_TRUE(listed.timedOut);
  EXPECT_EQ(listed.count, 0) << "no subtree starts once the deadline is past";

  for (int threads : {1, 2}) {
    SCOPED_TRACE(::testing::Message() << threads << " threads");
    const ExactCountResult counted = countWith(late, threads);
    EXPECT_FALSE(counted.complete);
    EXPECT_TRUE(counted.timedOut);
    EXPECT_FALSE(counted.interrupted);
    EXPECT_TRUE(counted.progress.done.empty());
  }
}

TEST(StopCondition, ASubtreeLimitStopsTheCountThere) {
  SKIP_WHEN_SANITIZED();
  StopCondition limit;
  limit.subtreeLimit = 5;
  // One thread takes one subtree at a time and sees the limit before the next.
  const ExactCountResult alone = countWith(limit, 1);
  EXPECT_EQ(alone.progress.done.size(), 5u);
  EXPECT_TRUE(alone.limitReached);
  EXPECT_FALSE(alone.interrupted);
  EXPECT_FALSE(alone.timedOut);
  EXPECT_FALSE(alone.complete);
  // Two threads share the condition: the one that meets the limit raises it, the other ends the
  // subtree in hand (cut short, so not done) or finishes it first.
  const ExactCountResult shared = countWith(limit, 2);
  EXPECT_GE(shared.progress.done.size(), 5u);
  EXPECT_LE(shared.progress.done.size(), 6u);
  EXPECT_TRUE(shared.limitReached);
}

TEST(StopCondition, ASignalFlagAlreadyUpStopsTheCountBeforeAnySubtree) {
  const volatile std::sig_atomic_t flag = SIGINT;
  const StopCondition signalled{&flag, std::nullopt};
  EXPECT_EQ(signalled.cause(), StopCause::kSignal);
  for (int threads : {1, 2}) {
    SCOPED_TRACE(::testing::Message() << threads << " threads");
    const ExactCountResult counted = countWith(signalled, threads);
    EXPECT_TRUE(counted.interrupted);
    EXPECT_FALSE(counted.complete);
    EXPECT_FALSE(counted.timedOut);
    EXPECT_TRUE(counted.progress.done.empty());
    EXPECT_EQ(counted.count.decimal(), "0");
  }
  TreeEstimateRequest probes;
  probes.bound = kLa02Bound;
  probes.stop = signalled;
  EXPECT_EQ(estimateTree(makeSearchProblem(benchmarkInstance("la02")), probes).probes, 0);
}

// ft06 within the sum of all its times: every semi-active schedule, far too many to walk, so the
// walk can only end by the raise.
TEST(StopCondition, AStopRaisedOnOneThreadEndsAWalkOnAnother) {
  const SearchProblem problem = makeSearchProblem(benchmarkInstance("ft06"));
  StopCondition stop;
  std::atomic<std::int64_t> found{0};
  SearchSettings settings;
  settings.bound = static_cast<int>(totalWork(problem));
  settings.stop = &stop;
  settings.foundSoFar = &found;
  SearchOutcome outcome;
  std::thread walker([&] { outcome = searchSubtree(problem, {}, settings); });
  // The walk reports what it found every few thousand nodes; once it has, it is surely running.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (found.load() == 0 && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
  const bool started = found.load() > 0;
  stop.raise();
  walker.join();
  ASSERT_TRUE(started) << "the walk found nothing within 30 s";
  EXPECT_TRUE(outcome.stopped);
  EXPECT_FALSE(outcome.timedOut);
  EXPECT_EQ(stop.cause(), StopCause::kRaised);
  EXPECT_EQ(stop.stopSignal(), 0) << "a raise without a signal names none";
}

TEST(StopCondition, TheFirstSignalTakenIsTheOneReportedAndACopyKeepsIt) {
  StopCondition stop;
  EXPECT_FALSE(stop.stopRequested());
  EXPECT_EQ(stop.cause(), StopCause::kNone);
  stop.raise(SIGTERM);
  stop.raise(SIGINT);
  EXPECT_TRUE(stop.stopRequested());
  EXPECT_EQ(stop.stopSignal(), SIGTERM);
  const StopCondition copy = stop;
  EXPECT_EQ(copy.stopSignal(), SIGTERM);
  // The handler's flag comes before a raise: it is the signal the program ends by.
  const volatile std::sig_atomic_t flag = SIGINT;
  StopCondition both = stop;
  both.signal = &flag;
  EXPECT_EQ(both.stopSignal(), SIGINT);
}

}  // namespace jobshop
