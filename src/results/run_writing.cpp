// The five files' text of one run, and opening and committing them together.
#include "results/run_writing.h"

#include <cstdio>

#include "model/population.h"
#include "results/trace_file.h"

namespace jobshop {

namespace {

// One makespan as the files show it, with one decimal.
std::string makespanLine(float makespan) {
  char text[48];
  std::snprintf(text, sizeof text, "%.1f\n", static_cast<double>(makespan));
  return text;
}

std::string solutionLine(const DistinctOptimum& optimum) {
  std::string line;
  char number[16];
  for (const int job : optimum.machineSequences) {
    std::snprintf(number, sizeof number, "%d ", job);
    line += number;
  }
  std::snprintf(number, sizeof number, "%d \n", truncateToInt(optimum.makespan));
  return line + number;
}

}  // namespace

std::string progressRecordText(const RunResult& result) {
  std::string text;
  char line[48];
  for (const Improvement& improvement : result.improvements) {
    std::snprintf(line, sizeof line, "%.1f %d\n", static_cast<double>(improvement.best),
                  improvement.generation);
    text += line;
  }
  return text + "\n";
}

void appendAnalysisRecords(const FinalPopulationAnalysis& analysis, RunRecords& records) {
  if (!analysis.reachedTarget) {
    records.text[kOptimaFile] += makespanLine(analysis.bestMakespan);
    return;
  }
  if (analysis.averageDistance) {
    char line[48];
    std::snprintf(line, sizeof line, "%.2f\n", static_cast<double>(*analysis.averageDistance));
    records.text[kDistanceFile] += line;
  }
  records.text[kOptimaFile] += makespanLine(analysis.bestMakespan);
  records.text[kOptimumCountFile] += std::to_string(analysis.distinctCount()) + "\n";
  std::string& solutions = records.text[kSolutionFile];
  for (const DistinctOptimum& optimum : analysis.distinctOptima) solutions += solutionLine(optimum);
  solutions += "\n";
}

WrittenRun writeRunResult(const std::string& folder, const RunResult& result) {
  WrittenRun written;
  ResultFileSet files;
  openResultFiles(files, folder);
  RunRecords records;
  written.progressOpened = files.progressOpen();
  if (written.progressOpened) records.text[kProgressFile] = progressRecordText(result);
  written.analysisOpened = files.analysisOpen();
  if (written.analysisOpened) appendAnalysisRecords(result.analysis, records);
  written.traceOpened = files.traceOpen();
  // A trace begins with its header, also one found empty after an earlier commit was undone.
  const std::string header = traceLength(files) == 0 ? kTraceHeader : "";
  if (written.traceOpened) records.trace = header + traceRowsText(result.run, result.trace);
  written.commit = commitRunRecords(files, records);
  if (written.commit.traceStart)
    written.traceOffset = *written.commit.traceStart + static_cast<std::int64_t>(header.size());
  return written;
}

}  // namespace jobshop
