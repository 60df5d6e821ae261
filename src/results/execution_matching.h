// Matching the runs of "executions.jsonl" that carry no offsets (records written before offsets
// existed) to the runs of the result files: both are in execution order, so they pair by counting
// among the runs that no offset placed, from after the last run placed before them.
#pragma once

#include <string>
#include <vector>

#include "input/instance.h"
#include "results/execution_log.h"
#include "results/result_records.h"

namespace jobshop {

// Sets execution and logged of the runs that records without offsets account for, in order. A
// record that names another instance, a recorded best that differs from the run's, or recorded
// runs beyond the result files' are problems. Fewer recorded runs than result runs is not (an
// interrupted execution, or one told to keep no record, leaves none): the runs after the record's
// stay without one. Runs recorded with offsets were placed before and are left as they are.
void matchLoggedRuns(const ExecutionLog& log, const Instance& instance,
                     std::vector<RunRecord>& runs, std::vector<std::string>& problems);

}  // namespace jobshop
