// The job array script, its task list and the array's state.
#include "campaigns/slurm_campaign.h"

#include <cctype>
#include <charconv>
#include <filesystem>
#include <map>
#include <sstream>

#include "campaigns/execution_state.h"
#include "campaigns/process_capture.h"
#include "campaigns/required_write.h"
#include "campaigns/sbatch_script.h"
#include "input/input_error.h"
#include "input/line_reader.h"
#include "support/bounded_file.h"

namespace jobshop {

namespace fs = std::filesystem;

namespace {

std::string scriptText(const std::string& folder, const std::string& name, const SlurmPlan& plan,
                       const SlurmOptions& options) {
  std::string array = "0-";
  array += std::to_string(plan.tasks - 1);
  if (options.maxRunning) {
    array += '%';
    array += std::to_string(*options.maxRunning);
  }
  std::vector<std::string> lines = {"#!/bin/bash",
                                    sbatchDirective("--job-name", name),
                                    "#SBATCH --array=" + array,
                                    "#SBATCH --cpus-per-task=1",
                                    "#SBATCH --ntasks=1",
                                    "#SBATCH --output=" + folder + "logs/%A_%a.out",
                                    "#SBATCH --error=" + folder + "logs/%A_%a.err"};
  if (!options.partition.empty())
    lines.push_back(sbatchDirective("--partition", options.partition));
  if (!options.timeLimit.empty()) lines.push_back(sbatchDirective("--time", options.timeLimit));
  lines.push_back("# " + std::to_string(plan.executions) + " pending executions, " +
                  std::to_string(options.perTask) +
                  " per task; each is marked done only when complete.");
  lines.push_back("exec " + shellQuoted(options.program) + " campaign run-one " +
                  shellQuoted(folder) + " --task \"$SLURM_ARRAY_TASK_ID\" --tasks " +
                  shellQuoted(plan.tasksPath));
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += '\n';
  }
  return text;
}

// The number of tasks in a record's ArrayTaskId: scontrol folds the tasks still pending into one
// record whose value lists them ("0-11", "3,5-9%2"); a task that has started has its own record.
int tasksOfRecord(const std::string& record) {
  const std::size_t at = record.find("ArrayTaskId=");
  if (at == std::string::npos) return 1;
  std::string ids = record.substr(at + 12, record.find(' ', at) - at - 12);
  ids = ids.substr(0, ids.find('%'));
  int count = 0;
  std::istringstream ranges(ids);
  for (std::string range; std::getline(ranges, range, ',');) {
    int first = 0;
    int last = 0;
    const char* end = range.data() + range.size();
    const auto [dash, error] = std::from_chars(range.data(), end, first);
    if (error == std::errc() && dash != end && *dash == '-' &&
        std::from_chars(dash + 1, end, last).ec == std::errc() && last >= first)
      count += last - first + 1;
    else
      ++count;
  }
  return count > 0 ? count : 1;
}

}  // namespace

SlurmPlan writeSlurmJob(const std::string& campaignFolder, const std::string& campaignName,
                        const std::vector<PlannedExecution>& executions,
                        const SlurmOptions& options) {
  const std::string folder = fs::absolute(campaignFolder).lexically_normal().string();
  const std::string base = folder.back() == '/' ? folder : folder + "/";
  std::vector<std::string> pending;
  for (const PlannedExecution& e : executions)
    if (executionState(base + e.folder + "/") != ExecutionState::kDone) pending.push_back(e.folder);

  SlurmPlan plan;
  plan.executions = static_cast<int>(pending.size());
  plan.tasks = (plan.executions + options.perTask - 1) / options.perTask;
  plan.scriptPath = base + "campaign.sbatch";
  // Each script has its own task list, so an array still running keeps the list it started with.
  int number = 1;
  while (fs::exists(base + "slurm/tasks-" + std::to_string(number) + ".tsv")) ++number;
  plan.tasksPath = base + "slurm/tasks-" + std::to_string(number) + ".tsv";
  if (plan.tasks == 0) return plan;

  std::error_code error;
  fs::create_directories(base + "logs", error);
  if (error) throw InputError{"cannot create " + base + "logs: " + error.message()};
  fs::create_directories(base + "slurm", error);
  if (error) throw InputError{"cannot create " + base + "slurm: " + error.message()};
  std::string tasks;
  for (std::size_t i = 0; i < pending.size(); ++i) {
    tasks += pending[i];
    const bool lastOfTask = (i + 1) % static_cast<std::size_t>(options.perTask) == 0;
    tasks += lastOfTask || i + 1 == pending.size() ? "\n" : "\t";
  }
  writeFileOrThrow(plan.tasksPath, tasks);
  writeFileOrThrow(plan.scriptPath, scriptText(base, campaignName, plan, options));
  return plan;
}

std::vector<std::string> slurmTaskFolders(const std::string& tasksPath, int task) {
  const auto lines = readFileLines(tasksPath, kMaxRecordFileBytes);
  if (!lines || task < 0 || static_cast<std::size_t>(task) >= lines->size()) return {};
  std::vector<std::string> folders;
  std::istringstream fields((*lines)[static_cast<std::size_t>(task)]);
  for (std::string folder; std::getline(fields, folder, '\t');)
    if (!folder.empty()) folders.push_back(folder);
  return folders;
}

std::string slurmJobState(const std::string& jobId) {
  std::map<std::string, int> states;
  if (commandExists("squeue")) {
    // -r: one line per task; without it the tasks still pending share one line.
    const CapturedOutput out =
        captureCommand({"squeue", "-h", "-r", "-t", "all", "-j", jobId, "-o", "%T"});
    std::istringstream lines(out.out);
    for (std::string state; std::getline(lines, state);)
      if (!state.empty()) ++states[state];
  }
  if (states.empty() && commandExists("scontrol")) {
    const CapturedOutput out = captureCommand({"scontrol", "-o", "show", "job", jobId});
    std::istringstream records(out.out);
    for (std::string record; std::getline(records, record);) {
      std::istringstream words(record);
      for (std::string word; words >> word;)
        if (word.rfind("JobState=", 0) == 0) states[word.substr(9)] += tasksOfRecord(record);
    }
  }
  if (states.empty()) return "";
  std::string line = "slurm job " + jobId + ":";
  bool first = true;
  for (const auto& [state, count] : states) {
    line += (first ? " " : ", ") + std::to_string(count) + " " + state;
    first = false;
  }
  return line;
}

}  // namespace jobshop
