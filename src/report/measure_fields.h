// The measures of a run's trace as CSV fields, the same in the report's CSV and the collected
// runs' CSV.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/niching_measures.h"

namespace jobshop {

// held, found, distinct, recall, precision, f1, foundRecall, retention, dynamicF1.
std::vector<std::string> measureColumns();

// The run's values under measureColumns(): counts whole, shares to six decimals, empty where a
// measure cannot be computed and everywhere for a run without a trace.
void addMeasureFields(const std::optional<NichingMeasures>& measures,
                      std::vector<std::string>& fields);

}  // namespace jobshop
