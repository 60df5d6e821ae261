// The report's analysis of runs made up by a test, with a coverage made up by hand.
#pragma once

#include <optional>
#include <vector>

#include "analysis/report_analysis.h"
#include "input/instance.h"
#include "results/execution_log.h"
#include "results/result_records.h"

namespace jobshop {

inline ReportAnalysis analysisOf(const std::vector<RunRecord>& runs, const Instance& instance,
                                 std::optional<OptimaCoverage> coverage = std::nullopt,
                                 const ExecutionLog& log = {}) {
  ResultRecords records;
  records.runs = runs;
  records.log = log;
  return analyseReport(instance, records, std::move(coverage));
}

}  // namespace jobshop
