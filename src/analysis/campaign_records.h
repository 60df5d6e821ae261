// What collecting a campaign hands to its analysis: each planned execution with the runs its
// files hold, and each instance's enumeration of optimal schedules where one was counted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input/instance.h"
#include "input/parameters.h"
#include "results/optima_file.h"
#include "results/result_records.h"

namespace jobshop {

// What the campaign planned for one execution: where it is and what it ran.
struct CampaignExecution {
  std::string folder;  // "<instance>/<setting>/<k>", relative to the campaign folder
  std::string instance;
  std::string setting;
  int repetition = 0;  // 1-based
  std::uint32_t seed = 0;
  Parameters parameters;
  int jobs = 0;
  int machines = 0;
  int target = 0;
};

struct ExecutionRecords {
  CampaignExecution planned;
  // Done and its files readable; an execution that is not counts as unfinished in every figure.
  bool finished = false;
  std::optional<Instance> instance;  // its "D_Entrada.txt", when finished
  std::vector<RunRecord> runs;       // numbered from 1 within the execution
};

// What "optima.json" in an instance's folder says, when the optima command counted there.
struct InstanceEnumeration {
  std::string instance;
  std::optional<EnumeratedOptima> optima;
  std::string problem;  // why it could not be read; "" when it was, or when there is none
};

struct CampaignRecords {
  std::vector<ExecutionRecords> executions;       // in plan order
  std::vector<InstanceEnumeration> enumerations;  // one per instance of the plan
  std::vector<std::string> problems;  // what reading the executions found, in plan order
};

}  // namespace jobshop
