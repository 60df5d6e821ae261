// Every run of a collected campaign as a table for pandas or R.
#pragma once

#include <string>

#include "analysis/campaign_analysis.h"

namespace jobshop {

// One row per run in plan order, with its execution's every parameter and its niching method and
// settings as columns, then the measures of its trace (report/measure_fields.h).
std::string collectedRunsCsv(const CampaignAnalysis& analysis);

}  // namespace jobshop
