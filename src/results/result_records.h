// What the five result files say about each run, once split into runs and aligned, together with
// every disagreement found between the files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "evolution/generation_trace.h"
#include "input/instance.h"
#include "results/execution_log.h"
#include "results/result_file_parsing.h"

namespace jobshop {

struct RunRecord {
  int run = 0;  // 1-based, in file order over every execution
  std::vector<ProgressStep> progress;
  double best = 0.0;
  bool reachedTarget = false;
  std::optional<int> distinctOptima;      // present when the run reached the target
  std::optional<double> averageDistance;  // present when it had two or more distinct optima
  std::vector<RecordedSolution> solutions;
  // From "executions.jsonl" when its lines account for this run: the execution's number there
  // and what it recorded of the run.
  int execution = 0;
  std::optional<LoggedRun> logged;
  // Also from the record: a signal stopped the run before its budget was spent, and the run
  // (numbered as run is) that this one copies because its execution repeats an earlier one that
  // got at least as far; 0 when it copies none and counts in every figure.
  bool cut = false;
  int repeatOf = 0;
  // The run's rows of "D_Sal_Traza.txt" when the folder has them; empty for runs made before the
  // trace was kept.
  RunTrace trace;
};

struct ResultRecords {
  std::vector<RunRecord> runs;
  ExecutionLog log;
  std::vector<std::string> problems;  // plain sentences naming file and line; empty when consistent
};

// Reads the five result files of folder (a path ending in '/' or empty for the current folder)
// and aligns them run by run against instance's target, then matches the runs of
// "executions.jsonl" to them when the folder has one, and gives them their rows of
// "D_Sal_Traza.txt". Never writes to the folder. A missing or
// unreadable result file is a problem and counts as empty.
ResultRecords loadResultRecords(const std::string& folder, const Instance& instance);

// The texts loadResultRecords reads: the five result files in the order "D_Sal_Mejores.txt",
// "D_Sal_Optimos.txt", "D_Sal_NumOptimos.txt", "D_Sal_Distancias.txt", "D_Sal_Soluciones.txt"
// (nullopt for a file that cannot be read), and "executions.jsonl" and "D_Sal_Traza.txt" when
// there are.
struct ResultTexts {
  ResultFileTexts files;
  std::optional<std::string> executionLog;
  std::optional<std::string> trace;
};

// The same splitting, aligning and matching on texts already in memory, folder (as given to
// loadResultRecords) naming the files in problems.
ResultRecords parseResultRecords(const ResultTexts& texts, const std::string& folder,
                                 const Instance& instance);

}  // namespace jobshop
