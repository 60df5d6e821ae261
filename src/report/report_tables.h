// The page's figures and tables as HTML: the summary cards, the per-run table and the matrix of
// distances between the optima of one run.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "input/instance.h"
#include "report/optima_coverage.h"
#include "report/result_records.h"
#include "report/run_summary.h"

namespace jobshop {

// Cards with the instance size and target, the number of runs, the best and median best
// makespans, the runs that reached the target, the optima per run and the mean distance.
std::string summaryCards(const ReportSummary& summary, const Instance& instance);

// The runs table lists at most this many runs, so that the page stays small; the CSV has them all.
inline constexpr std::size_t kRunsTableRows = 1000;

// One row per run (the first kRunsTableRows) with the same columns as the CSV; "of the enumeration"
// (found k of K) after the distinct optima only when coverage has a list to match against. With a
// record in the folder, a run it does not account for says "no record" where its execution would
// be.
std::string runsTable(const std::vector<RunRecord>& runs,
                      const std::optional<OptimaCoverage>& coverage, bool recordPresent);

}  // namespace jobshop
