// The page's figures and tables as HTML: the summary cards, the per-run table and the matrix of
// distances between the optima of one run.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/optima_coverage.h"
#include "analysis/report_analysis.h"
#include "analysis/run_summary.h"
#include "input/instance.h"
#include "results/result_records.h"

namespace jobshop {

// Cards with the instance size and target, the number of runs (and of runs cut short, when there
// are any), the best and median best makespans, the runs that reached the target, the schedules at
// or below the target per run and over all runs, how many of a listed enumeration's the runs found,
// and the mean distance. The schedules are called optima only when coverage proves the target
// optimal.
std::string summaryCards(const ReportSummary& summary, const Instance& instance,
                         const std::optional<OptimaCoverage>& coverage);

// Which of the counted runs a stop cut short, and that every figure counts them with what they had
// found when they stopped; "" when none was cut.
std::string cutRunsNote(const std::vector<RunRecord>& counted, const ExecutionLog& log);

// The runs table lists at most this many runs, so that the page stays small; the CSV has them all.
inline constexpr std::size_t kRunsTableRows = 1000;

// One row per run (the first kRunsTableRows) with short headings, their meaning in title
// attributes and a line under the table; "of enum." (found k of K) after the distinct schedules
// only when coverage has a list to match against. With a record in the folder, a run it does not
// account for says "no record" where its execution would be. The last column notes a run cut short
// (row class "cut") and a copy of an earlier run (row class "copy").
// When a run has a trace, the measures of each run's trace stand before the note.
// figures[r] is runFigures(runs[r]), and analysis the report's analysis of runs.
std::string runsTable(const std::vector<RunRecord>& runs, const std::vector<RunFigures>& figures,
                      const ExecutionLog& log, const std::optional<OptimaCoverage>& coverage,
                      const ReportAnalysis& analysis);

}  // namespace jobshop
