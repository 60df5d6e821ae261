// Placing the runs of "executions.jsonl" by the byte offsets each recorded for its records in the
// five result files, so that a run is paired with its own records whatever else the files hold:
// the runs of an execution that left no record, or of another writer.
#pragma once

#include <string>
#include <vector>

#include "results/execution_log.h"
#include "results/run_alignment.h"

namespace jobshop {

// The recorded runs whose offsets lead to records that make up one run: a record starting at each
// offset where the run wrote one (its progress record and best line always; a count line and a
// solution block when the best reached targetMakespan; a distance line with two or more distinct
// optima), and a record boundary or the file's end where it wrote none. A run whose offsets lead
// elsewhere (beyond a file, into the middle of a record, to records another recorded run took, or
// to a best other than the one recorded) is a problem and is left out, never paired with records
// not its own; each execution names its first such run and counts the others. Runs recorded
// without offsets are not looked at here.
std::vector<ClaimedRun> claimRunsByOffsets(const ParsedResultFiles& files, const ExecutionLog& log,
                                           int targetMakespan, std::vector<std::string>& problems);

}  // namespace jobshop
