// Aligning the parsed result files run by run: every run has a best line, and a run that reached
// the target also has a count, a solution block and, with two or more optima, an average distance.
// Runs that "executions.jsonl" placed by byte offsets come with their records named; the others
// are taken in order from the records no offset claimed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "results/execution_log.h"
#include "results/result_file_parsing.h"
#include "results/result_records.h"

namespace jobshop {

// The records of one run as positions in the parsed files; absent where the run has none.
struct RunPieces {
  std::size_t best = 0;
  std::optional<std::size_t> progress, count, distance, block;
};

// A run of "executions.jsonl" whose offsets led to its records.
struct ClaimedRun {
  RunPieces pieces;
  int execution = 0;
  LoggedRun logged;
};

// The run's best makespan: its line in "D_Sal_Optimos.txt", or the end of its progress record
// when that line is malformed; nullopt when neither tells.
std::optional<double> bestOfPieces(const ParsedResultFiles& files, const RunPieces& pieces);
// The run's distinct optima as its count line gives them, or its block's length without one.
std::optional<int> distinctOfPieces(const ParsedResultFiles& files, const RunPieces& pieces);

// One run per line of "D_Sal_Optimos.txt", in order; the claimed runs carry their execution and
// record. Every disagreement (counts that do not line up, a best that differs between files, a
// solution whose makespan is not the run's best, an average distance that the solutions do not
// give) is appended to problems; the runs before a point where alignment becomes impossible are
// still returned.
std::vector<RunRecord> alignRuns(const ParsedResultFiles& files, int targetMakespan,
                                 const std::vector<ClaimedRun>& claimed,
                                 std::vector<std::string>& problems);

}  // namespace jobshop
