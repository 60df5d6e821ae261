// The report's figures computed once from the records: which runs each figure counts, and what the
// enumeration adds to the problems.
#include "analysis/report_analysis.h"

#include <gtest/gtest.h>

#include "analysis_of.h"
#include "test_instances.h"

namespace jobshop {

namespace {

using Schedule = std::vector<int>;
const Schedule kA = {1, 2, 1, 2}, kB = {2, 1, 1, 2}, kC = {1, 2, 2, 1};

RunRecord runOf(int number, int execution, const std::vector<Schedule>& found, int repeatOf = 0) {
  RunRecord run;
  run.run = number;
  run.execution = execution;
  run.best = 10;
  run.reachedTarget = true;
  run.distinctOptima = static_cast<int>(found.size());
  run.repeatOf = repeatOf;
  int line = number * 10;
  for (const Schedule& sequences : found) run.solutions.push_back({sequences, 10, ++line});
  return run;
}

Instance instance() { return makeInstance(2, 2, {1, 1, 1, 1}, {1, 2, 2, 1}, 10); }

EnumeratedOptima listOf(std::set<Schedule> schedules, int jobs = 2) {
  EnumeratedOptima enumeration;
  enumeration.jobs = jobs;
  enumeration.machines = 2;
  enumeration.bound = 10;
  enumeration.complete = true;
  enumeration.listFile = "optima.txt";
  enumeration.count = static_cast<std::int64_t>(schedules.size());
  enumeration.schedules = std::move(schedules);
  return enumeration;
}

ExecutionLog twoExecutions() {
  ExecutionLog log;
  log.present = true;
  log.executions.resize(2);
  log.executions[0].number = 1;
  log.executions[1].number = 2;
  return log;
}

}  // namespace

// Run 3 copies run 1 but records kC too (files that disagree): the union keeps kC, every count
// leaves the copy out.
TEST(ReportAnalysis, CopiesAreInTheUnionButNoFigureCountsThem) {
  const std::vector<RunRecord> runs = {runOf(1, 1, {kA}), runOf(2, 1, {kA, kB}),
                                       runOf(3, 2, {kA, kC}, 1)};
  const ReportAnalysis analysis = analysisOf(runs, instance());
  EXPECT_EQ(analysis.optima.schedules.size(), 3u);  // kA, kB, kC
  EXPECT_EQ(analysis.counted.size(), 2u);
  EXPECT_EQ(analysis.summary.runs, 2);
  EXPECT_EQ(analysis.summary.distinctOptimaOverall, 2);  // kA and kB: kC is the copy's alone
  EXPECT_EQ(analysis.summary.totalOptima, 3);            // 1 + 2
  EXPECT_EQ(analysis.incidence.runCount, 2u);
  EXPECT_EQ(analysis.incidence.runsHolding, (std::vector<std::size_t>{2, 1}));
  // T = 2: S(1) = (1 + 2) / 2 = 1.5, S(2) = 2 distinct.
  EXPECT_EQ(analysis.accumulation, (std::vector<double>{1.5, 2.0}));
  ASSERT_EQ(analysis.runFigures.size(), 3u) << "one per run, copies included";
}

TEST(ReportAnalysis, MeasuresEachExecutionAgainstACompleteList) {
  ResultRecords records;
  records.log = twoExecutions();
  // Execution 1: runs 1 and 2 find 1 and 2 of {kA, kB}; execution 2 holds only a copy.
  records.runs = {runOf(1, 1, {kA}), runOf(2, 1, {kA, kB}), runOf(3, 2, {kA}, 1)};
  const ReportAnalysis analysis = analyseReport(instance(), records, listOf({kA, kB}));
  EXPECT_TRUE(records.problems.empty());
  ASSERT_TRUE(analysis.measures);
  // (1 + 2) / (2 * 2) = 0.75 over the counted runs; run 2 found both: 1 of 2.
  EXPECT_DOUBLE_EQ(analysis.measures->peakRatio, 0.75);
  EXPECT_DOUBLE_EQ(analysis.measures->successRate, 0.5);
  ASSERT_EQ(analysis.measuresByExecution.size(), 2u);
  ASSERT_TRUE(analysis.measuresByExecution[0]);
  EXPECT_DOUBLE_EQ(analysis.measuresByExecution[0]->peakRatio, 0.75);
  EXPECT_FALSE(analysis.measuresByExecution[1]) << "a copy alone is no counted run";
  EXPECT_EQ(analysis.coverage->foundOverall, 2u);

  // A partial list gives no ratios, and so no row per execution.
  EnumeratedOptima partial = listOf({kA, kB});
  partial.complete = false;
  const ReportAnalysis unmeasured = analyseReport(instance(), records, std::move(partial));
  EXPECT_FALSE(unmeasured.measures);
  EXPECT_TRUE(unmeasured.measuresByExecution.empty());
}

TEST(ReportAnalysis, WhatTheEnumerationContradictsFollowsTheRecordsProblems) {
  ResultRecords records;
  records.runs = {runOf(1, 1, {kA, kC})};
  records.problems = {"read first"};
  // A complete list without kC, which run 1 recorded at the bound.
  const ReportAnalysis missing = analyseReport(instance(), records, listOf({kA, kB}));
  ASSERT_EQ(records.problems.size(), 2u);
  EXPECT_EQ(records.problems[0], "read first");
  EXPECT_EQ(records.problems[1].rfind("D_Sal_Soluciones.txt line 12 (run 1)", 0), 0u)
      << records.problems[1];
  EXPECT_EQ(missing.coverage->foundOverall, 1u);

  // An enumeration of another instance: no coverage, so no figure against it.
  records.problems = {"read first"};
  const ReportAnalysis other = analyseReport(instance(), records, listOf({kA}, 3));
  EXPECT_FALSE(other.coverage);
  EXPECT_FALSE(other.measures);
  ASSERT_EQ(records.problems.size(), 2u);
  EXPECT_NE(records.problems[1].find("an instance of 3 jobs"), std::string::npos);
}

}  // namespace jobshop
