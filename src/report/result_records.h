// What the five result files say about each run, once split into runs and aligned, together with
// every disagreement found between the files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "input/instance.h"

// One line of a progress record: the best makespan reached by the end of a generation.
struct ProgressStep {
  double makespan = 0.0;
  int generation = 0;
};

// One line of "D_Sal_Soluciones.txt": an optimum's machine sequences (machine 1's J jobs, then
// machine 2's, ...) and the makespan written after them.
struct RecordedSolution {
  std::vector<int> sequences;
  int makespan = 0;
  int line = 0;  // 1-based line in "D_Sal_Soluciones.txt", for messages
};

struct RunRecord {
  int run = 0;  // 1-based, in file order over every execution
  std::vector<ProgressStep> progress;
  double best = 0.0;
  bool reachedTarget = false;
  std::optional<int> distinctOptima;      // present when the run reached the target
  std::optional<double> averageDistance;  // present when it had two or more distinct optima
  std::vector<RecordedSolution> solutions;
};

struct ResultRecords {
  std::vector<RunRecord> runs;
  std::vector<std::string> problems;  // plain sentences naming file and line; empty when consistent
};

// Reads the five result files of folder (a path ending in '/' or empty for the current folder)
// and aligns them run by run against instance's target. Never writes to the folder. A missing or
// unreadable file is a problem and counts as empty.
ResultRecords loadResultRecords(const std::string& folder, const Instance& instance);
