// The collected campaign for programs: per instance and setting the figures of the page, and every
// pair of settings compared.
#pragma once

#include <string>

#include "analysis/campaign_analysis.h"

namespace jobshop {

// One JSON object, camelCase names, null where a figure does not exist; ends in a line end.
std::string collectionJson(const CampaignAnalysis& analysis);

}  // namespace jobshop
