// The measures of the runs' traces on the report page: their mean and median in the summary, one
// run's in the runs table, and the section with the chart of held and found schedules.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/report_analysis.h"

namespace jobshop {

// A table of the mean and median of each measure over the counted runs with a trace, what the
// exact count would add when there is none, and how many runs had no trace. Empty when no run
// has a trace.
std::string nichingSummary(const ReportAnalysis& analysis);

// The runs table's headings for the measures, empty when no run has a trace, and one run's cells
// under them (runMeasures[run]); recall, F1, found recall and dynamic F1 only with the exact count.
std::string nichingHeadings(const ReportAnalysis& analysis);
std::string nichingCells(const ReportAnalysis& analysis, std::size_t run);

// The section of the held and found schedules against evaluations over the counted runs: the
// chart and its key, or a note that the runs were made before the trace was kept.
std::string heldFoundSection(const ReportAnalysis& analysis);

}  // namespace jobshop
