// The executions of one array task, looked up in the manifest and run in turn.
#include "campaigns/cluster_task.h"

#include <map>

#include "campaigns/execution_claim.h"
#include "campaigns/execution_launch.h"
#include "campaigns/execution_state.h"
#include "support/bounded_file.h"
#include "support/failure.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

// Nothing once the execution is done (now or before), else why it is not.
MaybeFailure runToTheEnd(const std::string& program, const std::string& campaignFolder,
                         const PlannedExecution& execution) {
  const std::string folder = campaignFolder + execution.folder + "/";
  if (effectiveState(folder) == ExecutionState::kDone) return std::nullopt;
  Outcome outcome;
  const Launch launch =
      runExecution(program, campaignFolder, folder, execution,
                   readWholeFile(folder + kFailedMarker, kMaxMarkerFileBytes), outcome);
  if (launch.outcome == Launch::Outcome::kFailed) return Failure{launch.problem};
  if (launch.outcome == Launch::Outcome::kStarted && !outcome.done) return Failure{outcome.reason};
  return std::nullopt;
}

}  // namespace

std::vector<ExecutionFailure> runClusterTask(const std::string& campaignFolder,
                                             const std::vector<PlannedExecution>& executions,
                                             const std::vector<std::string>& folders,
                                             const std::string& program) {
  std::map<std::string, const PlannedExecution*> byFolder;
  for (const PlannedExecution& e : executions) byFolder[e.folder] = &e;
  std::vector<ExecutionFailure> failures;
  for (const std::string& name : folders) {
    const auto found = byFolder.find(name);
    const MaybeFailure failure = found == byFolder.end()
                                     ? Failure{"not in the manifest"}
                                     : runToTheEnd(program, campaignFolder, *found->second);
    if (failure) failures.push_back({name, failure->reason});
  }
  return failures;
}

}  // namespace jobshop
