// The collected campaign as one self-contained HTML page: per instance a table of its settings,
// the success rates with their intervals, and box plots of the runs' best makespans.
#pragma once

#include <string>

#include "campaigns/campaign_collect.h"

namespace jobshop {

// The page for the collection of the campaign in a folder named `title`. Execution links are
// relative to the page, which is meant to be written in the campaign folder.
std::string campaignPage(const std::string& title, const CampaignCollection& collection);

}  // namespace jobshop
