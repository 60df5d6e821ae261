// The whole report as one self-contained page: inline CSS and SVG, no script and no link to
// anything outside, written so that it also parses as XML.
#pragma once

#include <string>
#include <vector>

#include "analysis/report_analysis.h"
#include "analysis/semi_active_schedule.h"
#include "input/instance.h"
#include "results/result_records.h"

namespace jobshop {

// The page for the runs of folder (shown in the heading): a table of contents (links within the
// page only), problems when there are any, the summary, the executions, the runs table, the
// convergence plot, the histogram, the distinct optima over all runs, and for each run that
// reached the target its optima (schedules[r] rebuilt from runs[r].solutions) with their
// distances. With the analysis' coverage (the folder's "optima.json"), how many of the enumerated
// schedules the runs found, together and each. Every figure is the analysis' (analyseReport of
// records).
std::string htmlReport(const std::string& folder, const Instance& instance,
                       const ResultRecords& records,
                       const std::vector<std::vector<SemiActiveSchedule>>& schedules,
                       const ReportAnalysis& analysis);

}  // namespace jobshop
