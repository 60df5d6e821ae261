// The runs as samples of the schedules of their best makespan, and how they stand against a
// complete list of the schedules.
#include "analysis/enumeration_measures.h"

#include <gtest/gtest.h>

#include "analysis/optimum_union.h"
#include "analysis/schedule_incidence.h"

namespace jobshop {

namespace {

using Schedule = std::vector<int>;
const Schedule kA = {1, 2, 1, 2}, kB = {2, 1, 1, 2}, kC = {1, 2, 2, 1}, kD = {2, 1, 2, 1},
               kE = {1, 1, 2, 2};

RunRecord runOf(int number, double best, const std::vector<std::pair<Schedule, int>>& found,
                int repeatOf = 0) {
  RunRecord run;
  run.run = number;
  run.best = best;
  run.repeatOf = repeatOf;
  int line = number * 10;
  for (const auto& [sequences, makespan] : found)
    run.solutions.push_back({sequences, makespan, ++line});
  return run;
}

OptimaCoverage completeList(std::set<Schedule> schedules) {
  OptimaCoverage coverage;
  coverage.listed = true;
  coverage.enumeration.complete = true;
  coverage.enumeration.listFile = "optima.txt";
  coverage.enumeration.count = static_cast<std::int64_t>(schedules.size());
  coverage.enumeration.schedules = std::move(schedules);
  return coverage;
}

}  // namespace

TEST(ScheduleIncidence, CountsEachCountedRunOnceAtTheBestMakespan) {
  const std::vector<RunRecord> runs = {
      runOf(1, 12, {}),                                    // never reached the target: a unit still
      runOf(2, 9, {{kA, 9}, {kB, 9}, {kE, 10}, {kA, 9}}),  // kE is above the best makespan
      runOf(3, 9, {{kA, 9}, {kC, 9}}),
      runOf(4, 10, {{kE, 10}}),
      runOf(5, 9, {{kC, 9}, {kD, 9}}, 3),  // a copy of run 3: kD is held by the copy alone
  };
  const OptimumUnion optima = uniteOptima(runs);
  const ScheduleIncidence incidence = scheduleIncidence(optima, runs, 10);
  ASSERT_EQ(incidence.bestMakespan, 9);
  EXPECT_EQ(incidence.runCount, 4u);
  ASSERT_EQ(incidence.schedules.size(), 3u);
  std::vector<Schedule> seen;
  for (const std::size_t s : incidence.schedules) seen.push_back(optima.schedules[s].sequences);
  EXPECT_EQ(seen, (std::vector<Schedule>{kA, kB, kC}));
  EXPECT_EQ(incidence.runsHolding, (std::vector<std::size_t>{2, 1, 1}));
}

TEST(ScheduleIncidence, NothingAboveTheTarget) {
  const std::vector<RunRecord> runs = {runOf(1, 12, {}), runOf(2, 11, {})};
  const ScheduleIncidence incidence = scheduleIncidence(uniteOptima(runs), runs, 10);
  EXPECT_FALSE(incidence.bestMakespan);
  EXPECT_EQ(incidence.runCount, 2u);
  EXPECT_TRUE(incidence.schedules.empty());
  EXPECT_TRUE(incidence.runsHolding.empty());

  // The best makespan of a copy alone is no best of the counted runs.
  const std::vector<RunRecord> copied = {runOf(1, 12, {}), runOf(2, 9, {{kA, 9}}, 1)};
  EXPECT_FALSE(scheduleIncidence(uniteOptima(copied), copied, 10).bestMakespan);
}

TEST(EnumerationMeasures, PeakRatioAndSuccessRateOverCountedRuns) {
  const std::vector<RunRecord> runs = {
      runOf(1, 9, {{kA, 9}, {kB, 9}, {kC, 9}}),
      runOf(2, 9, {{kA, 9}, {kA, 9}, {kD, 10}}),  // kA twice is found once; kD is not listed
      runOf(3, 9, {{kA, 9}, {kB, 9}, {kC, 9}}, 1),
      runOf(4, 12, {}),
  };
  const OptimumUnion optima = uniteOptima(runs);
  const OptimaCoverage coverage = completeList({kA, kB, kC});
  const auto measures = enumerationMeasures(coverage, runs, optima);
  ASSERT_TRUE(measures);
  EXPECT_EQ(measures->listed, 3u);
  EXPECT_EQ(measures->found, 3u);
  EXPECT_DOUBLE_EQ(measures->peakRatio, 4.0 / 9.0);  // (3 + 1 + 0) / (3 * 3)
  EXPECT_DOUBLE_EQ(measures->successRate, 1.0 / 3.0);

  // One execution's runs alone, measured against the same union.
  const auto part = enumerationMeasures(coverage, {runs[1], runs[3]}, optima);
  ASSERT_TRUE(part);
  EXPECT_EQ(part->found, 1u);
  EXPECT_DOUBLE_EQ(part->peakRatio, 1.0 / 6.0);  // (1 + 0) / (3 * 2)
  EXPECT_DOUBLE_EQ(part->successRate, 0.0);
  EXPECT_FALSE(enumerationMeasures(coverage, {runs[2]}, optima));  // a copy alone counts nothing
}

TEST(EnumerationMeasures, OnlyAgainstAListOfACompleteEnumeration) {
  const std::vector<RunRecord> runs = {runOf(1, 9, {{kA, 9}})};
  const OptimumUnion optima = uniteOptima(runs);
  OptimaCoverage partial = completeList({kA, kB});
  partial.enumeration.complete = false;
  EXPECT_FALSE(enumerationMeasures(partial, runs, optima));
  OptimaCoverage countOnly = completeList({});
  countOnly.listed = false;
  countOnly.enumeration.listFile.clear();
  countOnly.enumeration.count = 2;
  EXPECT_FALSE(enumerationMeasures(countOnly, runs, optima));
}

}  // namespace jobshop
