// Writing one finished run to the five result files of a folder: its progress record and the
// analysis of its final population, formatted from its RunResult and committed together or not at
// all.
#pragma once

#include <string>

#include "evolution/run_result.h"
#include "results/result_files.h"
#include "results/run_records.h"

namespace jobshop {

struct WrittenRun {
  bool progressOpened = false;  // "D_Sal_Mejores.txt" could be opened
  bool analysisOpened = false;  // the four analysis files could all be opened
  CommitOutcome commit;
};

// The run's text in "D_Sal_Mejores.txt": one "best generation" line per improvement, then an
// empty line.
std::string progressRecordText(const RunResult& result);

// Appends the run's records to the texts of the four analysis files: the best makespan always;
// when it reached the target, the number of distinct optima, their average pairwise distance (two
// or more) and one machine-sequence line per distinct optimum, then an empty line.
void appendAnalysisRecords(const FinalPopulationAnalysis& analysis, RunRecords& records);

// Opens the five files of folder and commits the run's records to those that opened.
WrittenRun writeRunResult(const std::string& folder, const RunResult& result);

}  // namespace jobshop
