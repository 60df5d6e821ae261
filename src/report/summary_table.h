// The table that collecting a campaign prints: one tab-separated row per (instance, setting).
#pragma once

#include <string>

#include "analysis/campaign_analysis.h"

namespace jobshop {

// The header line and one line per setting, each ending in '\n'.
std::string summaryTable(const CampaignAnalysis& analysis);

}  // namespace jobshop
