// Giving each run read back from a folder its rows of "D_Sal_Traza.txt": by the trace offset its
// execution recorded, or, for runs recorded without one (a folder without "executions.jsonl", an
// execution killed before its line was written), the blocks no offset took, in order.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "results/execution_log.h"
#include "results/result_records.h"
#include "results/trace_file.h"

namespace jobshop {

// Sets the trace of each run of runs (aligned and matched to log already) from the trace's text,
// nullopt when the folder has no trace; every disagreement goes to problems.
void attachTraces(const std::optional<std::string>& traceText, const ExecutionLog& log,
                  std::vector<RunRecord>& runs, std::vector<std::string>& problems);

}  // namespace jobshop
