// Counting the executions of a campaign folder by their effective state.
#include "campaigns/campaign_status.h"

#include "campaigns/execution_claim.h"

namespace jobshop {

CampaignStatus campaignStatus(const std::string& campaignFolder,
                              const std::vector<PlannedExecution>& executions) {
  CampaignStatus status;
  status.planned = static_cast<int>(executions.size());
  for (const PlannedExecution& e : executions) {
    std::string otherHost;
    switch (effectiveState(campaignFolder + e.folder + "/", &otherHost)) {
      case ExecutionState::kDone:
        ++status.done;
        break;
      case ExecutionState::kPending:
        ++status.pending;
        break;
      case ExecutionState::kFailed:
        ++status.failed;
        break;
      case ExecutionState::kRunning:
        ++status.running;
        if (!otherHost.empty()) ++status.runningOnOtherHosts[otherHost];
        break;
    }
  }
  return status;
}

}  // namespace jobshop
