// How far a campaign is: its executions counted by the state every runner acts on.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "campaigns/campaign_plan.h"

namespace jobshop {

struct CampaignStatus {
  int planned = 0;
  int done = 0;
  int pending = 0;  // cut-off ones included: the next run clears and repeats them
  int failed = 0;
  int running = 0;
  std::map<std::string, int> runningOnOtherHosts;  // by host
};

CampaignStatus campaignStatus(const std::string& campaignFolder,
                              const std::vector<PlannedExecution>& executions);

}  // namespace jobshop
