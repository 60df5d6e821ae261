// The page's table of one instance's pairs of settings, the significant differences marked.
#pragma once

#include <string>
#include <vector>

#include "analysis/setting_comparison.h"

namespace jobshop {

// The table and, under it, the sentence that says what the marks mean; "" without pairs.
std::string comparisonTable(const std::vector<const SettingComparison*>& pairs);

// The same pairs compared on the runs' traces: the distinct optimal schedules each run found, and
// its dynamic F1; "" when no pair has a trace to compare.
std::string traceComparisonTable(const std::vector<const SettingComparison*>& pairs);

// "0.042", "< 0.001", or "–" when there is no p-value.
std::string pValueText(const std::optional<double>& p);

}  // namespace jobshop
