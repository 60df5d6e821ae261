// The five files' text of one run, and opening and committing them together.
#include "results/run_writing.h"

#include <cstdio>

#include "model/population.h"

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
  written.commit = commitRunRecords(files, records);
  return written;
}

}  // namespace jobshop
