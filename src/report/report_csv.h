// The per-run table as comma-separated values, one row per aligned run, for spreadsheets and
// scripts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/niching_measures.h"
#include "analysis/optima_coverage.h"
#include "analysis/run_summary.h"
#include "results/execution_log.h"
#include "results/result_records.h"

namespace jobshop {

// A header row of camelCase names, then per run: run, bestMakespan, reachedTarget (true/false),
// distinctOptima, averageDistance, improvingGenerations, lastImprovingGeneration; then the folder's
// enumeration: enumeratedOptima (its count), enumerationBound, enumerationComplete (true/false)
// and foundOfEnumerated (the run's distinct schedules it lists, only when it has a list); then what
// "executions.jsonl" recorded: execution, seed, clock, seedGiven, wallClock, started, version,
// seconds, generations, evaluations, targetGeneration, cut (whether a signal cut the run short,
// read from its execution's exit status when the run's record predates the field),
// abandonedGeneration (empty for records that predate it), exitStatus (the execution's), repeatsRun
// (the run this one copies because its execution repeats an earlier one, empty otherwise), and one
// column per parameter (the documented ones, then any others the log names). Values a run does not
// have (optima of a run above the target, the distance of a single optimum, the enumeration without
// "optima.json", everything recorded for a run without a record) are empty.
// Last, after the parameters so that no earlier column moves, the measures of the run's trace:
// held, found, distinct, recall, precision, f1, foundRecall, retention, dynamicF1, empty for a
// run without a trace and where a measure cannot be computed (recall, f1, foundRecall and
// dynamicF1 without an exact count, precision without distinct schedules, retention when none
// was found).
// figures[r] is runFigures(runs[r]) and measures[r] the measures of runs[r].
std::string reportCsv(const std::vector<RunRecord>& runs, const std::vector<RunFigures>& figures,
                      const ExecutionLog& log, const std::optional<OptimaCoverage>& coverage,
                      const std::vector<std::optional<NichingMeasures>>& measures);

}  // namespace jobshop
