// "D_Sal_Traza.txt", the trace of every run of a folder: a header line, then one tab-separated row
// per generation of each run (its initial population as generation 0), the runs one after another
// in the order their records were committed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "evolution/generation_trace.h"
#include "results/result_files.h"

namespace jobshop {

inline const char* const kTraceHeader =
    "run\tgeneration\tevaluations\tbest\tdistinct\theld\tfound\n";

// The rows of run `run` (its number within its execution), one line each.
std::string traceRowsText(int run, const RunTrace& trace);

// The rows of one run as read back: a block starts at each generation 0.
struct TraceBlock {
  int run = 0;  // as the rows give it: the run's number within its execution
  int firstLine = 0;
  std::int64_t offset = 0;  // of the first row's first byte
  RunTrace trace;
  // A row of the block was malformed or broke the order of its rows; the trace is left empty so
  // that no figure is computed from some of a run's rows, but the block still stands for its run.
  bool broken = false;
};

// Every run's block, noting each malformed line in problems as "D_Sal_Traza.txt line N: REASON".
// Never throws.
std::vector<TraceBlock> parseTraceFile(const std::string& text, std::vector<std::string>& problems);

}  // namespace jobshop
