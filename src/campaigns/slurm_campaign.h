// A campaign on a Slurm cluster: a job array over the pending executions, its submission, and the
// state of the campaign with the array's.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "campaigns/campaign_plan.h"

namespace jobshop {

struct SlurmOptions {
  std::string partition;
  std::string timeLimit;
  int perTask = 1;
  std::optional<int> maxRunning;
  std::string program;  // absolute path of the program the tasks run
};

struct SlurmPlan {
  std::string scriptPath;
  std::string tasksPath;
  int executions = 0;  // pending executions covered
  int tasks = 0;       // array tasks
};

// Creates DIR/logs/ (Slurm does not create the folder of -o), writes the task list (one line per
// array task, the tab-separated folders of its executions) and DIR/campaign.sbatch, an array of
// one task per `perTask` pending executions. A campaign with nothing pending gets no script
// (tasks 0). Throws InputError when a file cannot be written.
SlurmPlan writeSlurmJob(const std::string& campaignFolder, const std::string& campaignName,
                        const std::vector<PlannedExecution>& executions,
                        const SlurmOptions& options);

// The folders of the executions of one array task, read from the task list. Empty when the task
// number is outside it.
std::vector<std::string> slurmTaskFolders(const std::string& tasksPath, int task);

inline const char* const kSlurmJobFileName = "slurm-job";

// One line on the array's tasks by state ("slurm job 123: 2 RUNNING, 4 PENDING"), from squeue or
// else scontrol; empty when neither is installed or the job is unknown.
std::string slurmJobState(const std::string& jobId);

}  // namespace jobshop
