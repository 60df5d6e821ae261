// The five files' text of a run, formatted from a RunResult built by hand, and the summary of a
// run whose files could not all be opened.
#include "results/run_writing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "results/execution_record.h"
#include "results/trace_file.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// Three improvements, and two distinct optima of a 2-job, 3-machine instance at distance 14/3.
RunResult handBuiltResult() {
  RunResult result;
  result.run = 4;
  result.improvements = {{12.0f, 0}, {10.5f, 3}, {10.0f, 17}};
  result.generations = 20;
  result.evaluations = 126;
  result.targetGeneration = 17;
  result.targetEvaluations = 108;
  result.seconds = 0.25;
  result.analysis.bestMakespan = 10.0f;
  result.analysis.reachedTarget = true;
  result.analysis.distinctOptima = {{{1, 2, 2, 1, 1, 2}, 10.0f}, {{2, 1, 2, 1, 1, 2}, 10.0f}};
  result.analysis.averageDistance = 14.0f / 3.0f;
  result.trace = {{0, 6, 12.0f, 6, 0, 0}, {1, 12, 10.5f, 5, 1, 1}};
  return result;
}

}  // namespace

TEST(RunWriting, TheFilesTextFromAHandBuiltResult) {
  const RunResult result = handBuiltResult();
  EXPECT_EQ(progressRecordText(result), "12.0 0\n10.5 3\n10.0 17\n\n");

  RunRecords records;
  appendAnalysisRecords(result.analysis, records);
  EXPECT_EQ(records.text[kProgressFile], "") << "the analysis leaves the progress record alone";
  EXPECT_EQ(records.text[kOptimaFile], "10.0\n");
  EXPECT_EQ(records.text[kOptimumCountFile], "2\n");
  EXPECT_EQ(records.text[kDistanceFile], "4.67\n") << "14/3 with two decimals";
  EXPECT_EQ(records.text[kSolutionFile], "1 2 2 1 1 2 10 \n2 1 2 1 1 2 10 \n\n");

  // A second run above the target appends its best makespan and nothing else; a single optimum
  // has no distance line.
  FinalPopulationAnalysis above;
  above.bestMakespan = 11.5f;
  appendAnalysisRecords(above, records);
  FinalPopulationAnalysis single;
  single.bestMakespan = 9.0f;
  single.reachedTarget = true;
  single.distinctOptima = {{{2, 1, 1, 2, 2, 1}, 9.0f}};
  appendAnalysisRecords(single, records);
  EXPECT_EQ(records.text[kOptimaFile], "10.0\n11.5\n9.0\n");
  EXPECT_EQ(records.text[kOptimumCountFile], "2\n1\n");
  EXPECT_EQ(records.text[kDistanceFile], "4.67\n");
  EXPECT_EQ(records.text[kSolutionFile], "1 2 2 1 1 2 10 \n2 1 2 1 1 2 10 \n\n2 1 1 2 2 1 9 \n\n");
}

TEST(RunWriting, WrittenToAFolderAndSummarised) {
  const RunResult result = handBuiltResult();
  const std::string folder = makeTempFolder();
  const WrittenRun written = writeRunResult(folder, result);
  EXPECT_TRUE(written.progressOpened && written.analysisOpened && written.commit.failure.empty());
  EXPECT_EQ(readFile(folder + "D_Sal_Mejores.txt"), "12.0 0\n10.5 3\n10.0 17\n\n");
  EXPECT_EQ(readFile(folder + "D_Sal_Soluciones.txt"), "1 2 2 1 1 2 10 \n2 1 2 1 1 2 10 \n\n");
  const RunSummary summary = summariseRun(result, written.commit.offsets, written.traceOffset);
  EXPECT_EQ(summary.run, 4);
  EXPECT_EQ(summary.bestMakespan, 10.0f) << "the last improvement";
  EXPECT_EQ(summary.generations, 20);
  EXPECT_EQ(summary.evaluations, 126);
  EXPECT_EQ(summary.targetGeneration, 17);
  EXPECT_EQ(summary.targetEvaluations, 108);
  EXPECT_EQ(summary.distinctOptima, 2);
  EXPECT_EQ(summary.offsets, (std::array<std::int64_t, 5>{0, 0, 0, 0, 0}));
  const std::string rows = "4\t0\t6\t12.0\t6\t0\t0\n4\t1\t12\t10.5\t5\t1\t1\n";
  const std::string header = kTraceHeader;
  EXPECT_TRUE(written.traceOpened);
  EXPECT_EQ(readFile(folder + kTraceFileName), header + rows);
  EXPECT_EQ(summary.traceOffset, static_cast<std::int64_t>(header.size())) << "past the header";

  // The next run's rows follow without a header of their own.
  const WrittenRun next = writeRunResult(folder, result);
  EXPECT_EQ(readFile(folder + kTraceFileName), header + rows + rows);
  EXPECT_EQ(next.traceOffset, static_cast<std::int64_t>(header.size() + rows.size()));

  // A folder in the way of one analysis file: nothing of the analysis is written, yet the summary
  // still counts the optima.
  const std::string blocked = makeTempFolder();
  ASSERT_EQ(mkdir((blocked + "D_Sal_NumOptimos.txt").c_str(), 0755), 0);
  const WrittenRun refused = writeRunResult(blocked, result);
  EXPECT_TRUE(refused.progressOpened);
  EXPECT_FALSE(refused.analysisOpened);
  EXPECT_EQ(readFile(blocked + "D_Sal_Optimos.txt"), "");
  const RunSummary counted = summariseRun(result, refused.commit.offsets);
  EXPECT_EQ(counted.distinctOptima, 2);
  EXPECT_FALSE(counted.offsets.has_value());

  // A folder in the way of the trace: the five files take the run, the trace does not.
  const std::string untraced = makeTempFolder();
  ASSERT_EQ(mkdir((untraced + kTraceFileName).c_str(), 0755), 0);
  const WrittenRun traceless = writeRunResult(untraced, result);
  EXPECT_TRUE(traceless.progressOpened && traceless.analysisOpened);
  EXPECT_FALSE(traceless.traceOpened);
  EXPECT_TRUE(traceless.commit.offsets.has_value());
  EXPECT_FALSE(traceless.traceOffset.has_value());
  EXPECT_EQ(readFile(untraced + "D_Sal_Mejores.txt"), "12.0 0\n10.5 3\n10.0 17\n\n");
}

}  // namespace jobshop
