// "D_Sal_Traza.txt": its text, the runs' traces read back as they were written (by the record's
// offsets and, without a record, in order), and the reader's refusals of malformed files.
#include "results/trace_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "evolution/run_loop.h"
#include "input/instance_reader.h"
#include "results/execution_record.h"
#include "results/result_records.h"
#include "results/run_writing.h"
#include "test_instances.h"

namespace jobshop {

namespace {

const std::string kHeader = kTraceHeader;

// A trace as one line per row, so that two compare, and show, row by row.
std::string rowsOf(const RunTrace& trace) { return traceRowsText(0, trace); }

Parameters runParameters(int runs) {
  Parameters p;
  p.populationSize = 8;
  p.maxEvaluations = 400;
  p.runCount = runs;
  p.crossoverPercent = 80;
  p.mutationPercent = 30;
  p.swapMutationEnabled = true;
  p.precedenceCrossoverEnabled = true;
  p.mateCandidates = 3;
  p.crowdingGroups = 2;
  p.crowdingGroupSize = 3;
  return p;
}

// Runs of ft06 written to folder one after another as the main run writes them, with their
// execution's line in "executions.jsonl".
std::vector<RunResult> writtenRuns(const std::string& folder, const Instance& instance, int runs,
                                   std::uint32_t seed) {
  const Parameters parameters = runParameters(runs);
  RunState state(instance, parameters, steppingClock(seed));
  RunScratch scratch(parameters);
  ProgressLine quiet = terminalProgressLine(true);
  ExecutionRecord record;
  record.jobs = instance.jobs;
  record.machines = instance.machines;
  record.targetMakespan = instance.targetMakespan;
  record.parameters = parameters;
  std::vector<RunResult> results;
  for (int run = 1; run <= runs; ++run) {
    results.push_back(performRun(state, run, RunWatch{quiet}, scratch));
    const WrittenRun written = writeRunResult(folder, results.back());
    EXPECT_TRUE(written.traceOpened && written.commit.failure.empty());
    record.runs.push_back(
        summariseRun(results.back(), written.commit.offsets, written.traceOffset));
  }
  EXPECT_FALSE(
      appendExecutionRecord(folder + kExecutionRecordFileName, executionRecordLine(record)));
  return results;
}

Instance ft06() {
  return readInstance(std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/D_Entrada.txt");
}

std::vector<std::string> problemsOf(const std::string& text) {
  std::vector<std::string> problems;
  parseTraceFile(text, problems);
  return problems;
}

}  // namespace

TEST(TraceFile, RowsAreTabSeparatedWithTheBestAsTheOtherFilesWriteIt) {
  const RunTrace trace{
      {0, 6, 12.0f, 6, 0, 0}, {1, 12, 10.5f, 5, 1, 1}, {2, 2147483653, 10.0f, 4, 2, 3}};
  EXPECT_EQ(traceRowsText(3, trace),
            "3\t0\t6\t12.0\t6\t0\t0\n3\t1\t12\t10.5\t5\t1\t1\n3\t2\t2147483653\t10.0\t4\t2\t3\n");
  std::vector<std::string> problems;
  const std::vector<TraceBlock> blocks =
      parseTraceFile(kHeader + traceRowsText(3, trace) + traceRowsText(1, {trace[0]}), problems);
  EXPECT_TRUE(problems.empty()) << problems.front();
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].run, 3);
  EXPECT_EQ(blocks[0].firstLine, 2);
  EXPECT_EQ(blocks[0].offset, static_cast<std::int64_t>(kHeader.size()));
  EXPECT_EQ(rowsOf(blocks[0].trace), rowsOf(trace));
  EXPECT_EQ(blocks[1].run, 1);
  EXPECT_EQ(blocks[1].firstLine, 5);
  EXPECT_FALSE(blocks[1].broken);
}

TEST(TraceFile, WrittenWithTheRunsThenReadBackByOffsetAndInOrder) {
  const Instance instance = ft06();
  const std::string folder = makeTempFolder();
  std::vector<RunResult> results = writtenRuns(folder, instance, 3, 11);
  const std::vector<RunResult> more = writtenRuns(folder, instance, 2, 12);
  results.insert(results.end(), more.begin(), more.end());
  const std::string text = readFile(folder + kTraceFileName);
  ASSERT_EQ(text.rfind(kHeader, 0), 0u) << "one header, at the start";
  EXPECT_EQ(text.find("run\t", 1), std::string::npos) << "and only there";

  const ResultRecords byOffset = loadResultRecords(folder, instance);
  EXPECT_TRUE(byOffset.problems.empty()) << byOffset.problems.front();
  ASSERT_EQ(byOffset.runs.size(), results.size());
  for (std::size_t r = 0; r < results.size(); ++r) {
    SCOPED_TRACE("run " + std::to_string(r + 1));
    ASSERT_FALSE(results[r].trace.empty());
    EXPECT_EQ(rowsOf(byOffset.runs[r].trace), rowsOf(results[r].trace));
    const std::int64_t offset = *byOffset.runs[r].logged->traceOffset;
    EXPECT_EQ(text.substr(static_cast<std::size_t>(offset), 2),
              std::to_string(results[r].run) + "\t")
        << "the offset is where its first row starts";
  }

  std::remove((folder + kExecutionRecordFileName).c_str());
  const ResultRecords inOrder = loadResultRecords(folder, instance);
  EXPECT_TRUE(inOrder.problems.empty()) << inOrder.problems.front();
  ASSERT_EQ(inOrder.runs.size(), results.size());
  for (std::size_t r = 0; r < results.size(); ++r)
    EXPECT_EQ(rowsOf(inOrder.runs[r].trace), rowsOf(results[r].trace)) << "run " << r + 1;
}

TEST(TraceFile, AFolderWithoutATraceReadsAsBeforeUnlessTheRecordPlacesOne) {
  const Instance instance = ft06();
  const std::string folder = makeTempFolder();
  writtenRuns(folder, instance, 2, 13);
  std::remove((folder + kTraceFileName).c_str());
  const ResultRecords missing = loadResultRecords(folder, instance);
  ASSERT_EQ(missing.problems.size(), 1u);
  EXPECT_NE(missing.problems[0].find("cannot read D_Sal_Traza.txt"), std::string::npos)
      << missing.problems[0];
  for (const RunRecord& run : missing.runs) EXPECT_TRUE(run.trace.empty());

  std::remove((folder + kExecutionRecordFileName).c_str());
  EXPECT_TRUE(loadResultRecords(folder, instance).problems.empty())
      << "a folder from before the trace existed";
}

TEST(TraceFile, OffsetsThatDoNotLeadToARunsRowsLeaveItWithoutATrace) {
  const Instance instance = ft06();
  const std::string folder = makeTempFolder();
  const std::vector<RunResult> results = writtenRuns(folder, instance, 2, 14);
  // The second run's rows swapped for the first's (whose best may differ) and then cut off: the
  // second run's offset now points beyond the file.
  const std::string first = traceRowsText(1, results[0].trace);
  writeFile(folder + kTraceFileName, kHeader + first);
  const ResultRecords records = loadResultRecords(folder, instance);
  ASSERT_EQ(records.problems.size(), 1u);
  EXPECT_NE(records.problems[0].find("executions.jsonl:1: run 2: no run's rows of D_Sal_Traza.txt "
                                     "start at its trace offset " +
                                     std::to_string(kHeader.size() + first.size())),
            std::string::npos)
      << records.problems[0];
  EXPECT_EQ(rowsOf(records.runs[0].trace), rowsOf(results[0].trace));
  EXPECT_TRUE(records.runs[1].trace.empty());

  // The first run's rows numbered as run 2: not its own.
  writeFile(folder + kTraceFileName,
            kHeader + traceRowsText(2, results[0].trace) + traceRowsText(2, results[1].trace));
  const ResultRecords renumbered = loadResultRecords(folder, instance);
  ASSERT_FALSE(renumbered.problems.empty());
  EXPECT_NE(renumbered.problems[0].find("are not its own: they are run 2's"), std::string::npos)
      << renumbered.problems[0];
  EXPECT_TRUE(renumbered.runs[0].trace.empty());
  EXPECT_EQ(rowsOf(renumbered.runs[1].trace), rowsOf(results[1].trace));
}

TEST(TraceFile, EveryMalformedLineIsNamedAndItsRunKeepsNoPartialTrace) {
  const std::string good = "1\t0\t6\t12.0\t6\t0\t0\n1\t1\t12\t10.0\t5\t1\t1\n";
  struct Case {
    std::string text;
    std::string problem;  // the one problem expected
    std::size_t blocks;
  };
  const std::vector<Case> cases{
      {"1\t0\t6\t12.0\t6\t0\t0\n", "line 1: the file does not start with its header", 1},
      {kHeader + "1\t0\t6\t12.0\t6\t0\n", "line 2: expected seven tab-separated numbers", 0},
      {kHeader + "1 0 6 12.0 6 0 0\n", "line 2: expected seven tab-separated numbers", 0},
      {kHeader + good + "1\t2\t18\tx\t5\t1\t1\n", "line 4: expected seven tab-separated", 1},
      {kHeader + good + "1\t2\t-18\t10.0\t5\t1\t1\n", "line 4: expected seven tab-separated", 1},
      {kHeader + good + "1\t2\t99999999999999999999\t10.0\t5\t1\t1\n", "line 4: expected seven", 1},
      {kHeader + good + "0\t2\t18\t10.0\t5\t1\t1\n", "line 4: expected seven", 1},
      {kHeader + good + "1\t3\t18\t10.0\t5\t1\t1\n",
       "line 4: the generations of run 1 do not go 0, 1, 2, ... (found 3)", 1},
      {kHeader + good + "2\t2\t18\t10.0\t5\t1\t1\n", "line 4: the generations of run 2", 1},
      {kHeader + "1\t1\t6\t12.0\t6\t0\t0\n", "line 2: the generations of run 1", 0},
      {kHeader + good + "1\t2\t11\t10.0\t5\t1\t1\n",
       "line 4: the evaluations go down (12 before, 11 here)", 1},
      {kHeader + good + "1\t2\t18\t10.0\t5\t6\t6\n",
       "line 4: more schedules at the target (6) than distinct ones (5)", 1},
      {kHeader + good + "1\t2\t18\t10.0\t5\t2\t1\n",
       "line 4: fewer schedules found (1) than held (2)", 1},
      {kHeader + good + "1\t2\t18\t10.0\t5\t0\t0\n",
       "line 4: the schedules found go down (1 before, 0 here)", 1},
      {kHeader + good + "1\t2\t18\t10.0\t5\t1", "line 4: the file ends in the middle of a line", 1},
      {kHeader.substr(0, 10), "line 1: the file does not start with its header", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<std::string> problems;
    const std::vector<TraceBlock> blocks = parseTraceFile(c.text, problems);
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems[0].rfind("D_Sal_Traza.txt " + c.problem.substr(0, c.problem.find(':')), 0),
              0u)
        << problems[0];
    EXPECT_NE(problems[0].find(c.problem), std::string::npos) << problems[0];
    ASSERT_EQ(blocks.size(), c.blocks);
    for (const TraceBlock& block : blocks)
      if (block.broken) {
        EXPECT_TRUE(block.trace.empty()) << "no rows of a broken run";
      }
  }
  // A run broken in its middle is told once, and the run after it reads whole.
  std::vector<std::string> problems;
  const std::vector<TraceBlock> blocks =
      parseTraceFile(kHeader +
                         "1\t0\t6\t12.0\t6\t0\t0\nbroken\n1\t2\t18\t10.0\t5\t1\t1\n1\t3\t24\t"
                         "10.0\t5\t1\t1\n" +
                         good,
                     problems);
  EXPECT_EQ(problems.size(), 1u);
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_TRUE(blocks[0].broken);
  EXPECT_FALSE(blocks[1].broken);
  EXPECT_EQ(blocks[1].trace.size(), 2u);
  EXPECT_TRUE(problemsOf("").empty()) << "an empty trace is no problem";
  EXPECT_TRUE(problemsOf(kHeader).empty());
}

}  // namespace jobshop
