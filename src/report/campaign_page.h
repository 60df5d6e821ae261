// The collected campaign as one self-contained HTML page: per instance a table of its settings,
// the success rates with their intervals, and box plots of the runs' best makespans.
#pragma once

#include <string>

#include "analysis/campaign_analysis.h"

namespace jobshop {

// The page for the analysis of the campaign in campaignFolder, named `title`, to be written at
// pagePath. An execution links to its "report.html" (relative to the page) only when that file
// exists now; otherwise the page says how to write the reports.
std::string campaignPage(const std::string& title, const CampaignAnalysis& analysis,
                         const std::string& campaignFolder, const std::string& pagePath);

}  // namespace jobshop
