// Collecting a campaign: every finished execution's runs read back from its result files and
// record, and each instance's enumeration, handed to the campaign's analysis.
#pragma once

#include <string>
#include <vector>

#include "analysis/campaign_analysis.h"
#include "analysis/campaign_records.h"
#include "campaigns/campaign_plan.h"

namespace jobshop {

// Reads every done execution of the manifest (the others are unfinished) and the "optima.json"
// of every instance folder.
CampaignRecords readCampaignRecords(const std::string& campaignFolder,
                                    const std::vector<PlannedExecution>& executions);

// The analysis of what readCampaignRecords reads.
CampaignAnalysis collectCampaign(const std::string& campaignFolder,
                                 const std::vector<PlannedExecution>& executions);

}  // namespace jobshop
