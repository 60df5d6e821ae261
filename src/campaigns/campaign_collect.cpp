// Reading back the finished executions and the instances' enumerations of a campaign folder.
#include "campaigns/campaign_collect.h"

#include <set>

#include "campaigns/execution_state.h"
#include "input/input_error.h"
#include "input/instance_reader.h"

namespace jobshop {

namespace {

CampaignExecution campaignExecution(const PlannedExecution& e) {
  return {e.folder,     e.instance, e.setting,  e.repetition, e.seed,
          e.parameters, e.jobs,     e.machines, e.target};
}

// A done execution's instance and runs; one not done or not readable is unfinished.
ExecutionRecords executionRecords(const std::string& campaignFolder, const PlannedExecution& e,
                                  std::vector<std::string>& problems) {
  ExecutionRecords execution;
  execution.planned = campaignExecution(e);
  const std::string folder = campaignFolder + e.folder + "/";
  if (executionState(folder) != ExecutionState::kDone) return execution;
  ResultRecords records;
  try {
    Instance instance = readInstance(folder + kInstanceFileName);
    records = loadResultRecords(folder, instance);
    execution.instance = std::move(instance);
  } catch (const InputError& error) {
    problems.push_back(e.folder + ": " + error.message);
    return execution;
  }
  for (const std::string& problem : records.problems) problems.push_back(e.folder + ": " + problem);
  execution.finished = true;
  execution.runs = std::move(records.runs);
  return execution;
}

}  // namespace

CampaignRecords readCampaignRecords(const std::string& campaignFolder,
                                    const std::vector<PlannedExecution>& executions) {
  CampaignRecords records;
  std::set<std::string> instances;
  for (const PlannedExecution& e : executions) {
    records.executions.push_back(executionRecords(campaignFolder, e, records.problems));
    if (!instances.insert(e.instance).second) continue;
    InstanceEnumeration& enumeration = records.enumerations.emplace_back();
    enumeration.instance = e.instance;
    OptimaInFolder read = loadEnumeratedOptima(campaignFolder + e.instance + "/");
    if (read)
      enumeration.optima = std::move(*read);
    else
      enumeration.problem = read.reason();
  }
  return records;
}

CampaignAnalysis collectCampaign(const std::string& campaignFolder,
                                 const std::vector<PlannedExecution>& executions) {
  return analyseCampaign(readCampaignRecords(campaignFolder, executions));
}

}  // namespace jobshop
