// Matching the runs of "executions.jsonl" to the runs of the result files: both are in execution
// order, so the k-th recorded run is the k-th line of "D_Sal_Optimos.txt".
#pragma once

#include <string>
#include <vector>

#include "input/instance.h"
#include "report/execution_log.h"
#include "report/result_records.h"

// Sets execution and logged of runs in order. A record that names another instance, a recorded
// best that differs from the run's, or recorded runs beyond the result files' are problems. Fewer
// recorded runs than result runs is not (an interrupted execution, or one told to keep no record,
// leaves none): the runs after the record's stay without one.
void matchLoggedRuns(const ExecutionLog& log, const Instance& instance,
                     std::vector<RunRecord>& runs, std::vector<std::string>& problems);
