// What "executions.jsonl" says about each execution, as an HTML table: one column per execution,
// one row per field (start, version, seed, clock, runs, then every parameter).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/enumeration_measures.h"
#include "results/execution_log.h"
#include "results/result_records.h"
#include "results/run_marks.h"

namespace jobshop {

// The table, with the runs of the result files each execution accounts for; a note instead when
// the folder has no record, and a note on runs the record does not cover. repeats are
// executionRepeats(log, runs). With measuresByExecution (one per execution of log, present when
// the runs are measured against a complete list of the schedules), a row of each execution's peak
// ratio and success rate over its counted runs.
std::string executionsSection(
    const ExecutionLog& log, const std::vector<RunRecord>& runs,
    const std::vector<ExecutionRepeat>& repeats,
    const std::vector<std::optional<EnumerationMeasures>>& measuresByExecution);

}  // namespace jobshop
