// Runs against the evaluations they spent: how many runs had reached the target after each number
// of evaluations, from what "executions.jsonl" recorded of each run.
#pragma once

#include <string>
#include <vector>

#include "results/result_records.h"

namespace jobshop {

// An <h3>, a note and a <div class="chart"> holding an <svg class="evaluations">: one step line
// (<path class="series reached-count">) rising by one at each recorded run's targetEvaluations,
// over an x axis from 0 to the most evaluations a recorded run spent, and a y axis from 0 to the
// number of runs with recorded evaluations. Empty when no recorded run reached the target.
std::string evaluationsChart(const std::vector<RunRecord>& runs);

}  // namespace jobshop
