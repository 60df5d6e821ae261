// Writing one finished run to the five result files of a folder and its trace: its progress
// record, the analysis of its final population and its generations, formatted from its RunResult
// and committed together or not at all.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "evolution/run_result.h"
#include "results/result_files.h"
#include "results/run_records.h"

namespace jobshop {

struct WrittenRun {
  bool progressOpened = false;  // "D_Sal_Mejores.txt" could be opened
  bool analysisOpened = false;  // the four analysis files could all be opened
  bool traceOpened = false;     // "D_Sal_Traza.txt" could be opened
  CommitOutcome commit;
  // Where the run's first trace row starts, past the header a new trace begins with; absent when
  // the trace was not written.
  std::optional<std::int64_t> traceOffset;
};

// The run's text in "D_Sal_Mejores.txt": one "best generation" line per improvement, then an
// empty line.
std::string progressRecordText(const RunResult& result);

// Appends the run's records to the texts of the four analysis files: the best makespan always;
// when it reached the target, the number of distinct optima, their average pairwise distance (two
// or more) and one machine-sequence line per distinct optimum, then an empty line.
void appendAnalysisRecords(const FinalPopulationAnalysis& analysis, RunRecords& records);

// Opens the five files and the trace of folder and commits the run's records to those that
// opened.
WrittenRun writeRunResult(const std::string& folder, const RunResult& result);

}  // namespace jobshop
