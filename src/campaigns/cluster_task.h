// One array task of a campaign on a cluster: its executions run one after the other in the task's
// own time, each under the same claim and completion-marker rules as on a single machine.
#pragma once

#include <string>
#include <vector>

#include "campaigns/campaign_plan.h"
#include "campaigns/campaign_runner.h"

namespace jobshop {

// Runs every execution named by folders (execution folder names, from the task list) that is not
// done, with program; returns those that failed, and those not in the manifest.
std::vector<ExecutionFailure> runClusterTask(const std::string& campaignFolder,
                                             const std::vector<PlannedExecution>& executions,
                                             const std::vector<std::string>& folders,
                                             const std::string& program);

}  // namespace jobshop
