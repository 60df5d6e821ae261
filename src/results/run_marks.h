// What "executions.jsonl" tells about a run beyond its figures: whether a signal cut it short, and
// whether it is a copy made by an execution that repeats an earlier one. A copy is shown but not
// counted, so that repeating an execution changes no figure of the page.
#pragma once

#include <string>
#include <vector>

#include "results/execution_log.h"
#include "results/result_records.h"

namespace jobshop {

// Sets cut and repeatOf of the runs matched to the record. A run is cut when its record says so;
// a record that does not say is read from its execution's exit status (130 or 143), and then, when
// the run's evaluations and its budget are known, from whether it spent the budget. A run of an
// execution that repeats an earlier one copies the earlier's run of the same number when both
// ended at the same point (both whole, or both cut after as many evaluations); a run that ended
// elsewhere, or that no earlier execution reached, counts.
void markCutAndRepeatedRuns(const ExecutionLog& log, std::vector<RunRecord>& runs);

// The runs every figure is drawn from: all of them but the copies.
std::vector<RunRecord> countedRuns(const std::vector<RunRecord>& runs);

// An execution that repeats an earlier one: its number, the first earlier one it repeats, and how
// many of its runs in the result files are copies.
struct ExecutionRepeat {
  int execution = 0;
  int earlier = 0;
  int runs = 0;
  int copies = 0;
};

std::vector<ExecutionRepeat> executionRepeats(const ExecutionLog& log,
                                              const std::vector<RunRecord>& runs);

// "cut after 2,300,000 of 5,000,000 evaluations" for a cut run, "cut short" when its evaluations
// or its budget are not recorded, "" for a run that was not cut.
std::string cutText(const RunRecord& run, const ExecutionLog& log);

// The execution's budget of evaluations per run, when its record gives one.
std::optional<std::int64_t> evaluationBudget(const LoggedExecution& execution);

}  // namespace jobshop
