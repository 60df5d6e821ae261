// The array's task id is the piece's number, so a task that failed is rerun alone by its number,
// and a later array of the pieces left keeps the same numbers.
#include "campaigns/slurm_count_job.h"

#include <filesystem>

#include "campaigns/required_write.h"
#include "campaigns/sbatch_script.h"
#include "input/input_error.h"

namespace jobshop {

namespace fs = std::filesystem;

namespace {

std::string lines(const std::vector<std::string>& all) {
  std::string text;
  for (const std::string& line : all) text += line + '\n';
  return text;
}

std::string jobName(const std::string& folder) {
  const std::string name = fs::path(folder).parent_path().filename().string();
  return name.empty() ? "optima" : "optima-" + name;
}

std::string arrayScript(const std::string& folder, const std::vector<int>& left,
                        const SlurmCountOptions& options) {
  std::string array = arrayRanges(left);
  if (options.maxRunning) {
    array += '%';
    array += std::to_string(*options.maxRunning);
  }
  std::vector<std::string> script = {"#!/bin/bash",
                                     sbatchDirective("--job-name", jobName(folder)),
                                     "#SBATCH --array=" + array,
                                     "#SBATCH --ntasks=1",
                                     "#SBATCH --cpus-per-task=" + std::to_string(options.threads),
                                     "#SBATCH --output=" + folder + "logs/optima-%A_%a.out",
                                     "#SBATCH --error=" + folder + "logs/optima-%A_%a.err"};
  if (!options.partition.empty())
    script.push_back(sbatchDirective("--partition", options.partition));
  if (!options.timeLimit.empty()) script.push_back(sbatchDirective("--time", options.timeLimit));
  script.push_back("# " + std::to_string(left.size()) + " of " + std::to_string(options.pieces) +
                   " pieces still to count; a piece's file is written only when it is counted "
                   "whole.");
  std::string command = "exec " + shellQuoted(options.program) + " optima --dir " +
                        shellQuoted(folder) + " --bound " + std::to_string(options.bound) +
                        " --threads " + std::to_string(options.threads);
  if (options.memoryMb) command += " --memory " + std::to_string(*options.memoryMb);
  command += " --piece \"$SLURM_ARRAY_TASK_ID\"/" + std::to_string(options.pieces);
  if (options.backbone) command += " --backbone";
  script.push_back(command);
  return lines(script);
}

std::string mergeScript(const std::string& folder, const SlurmCountOptions& options) {
  std::vector<std::string> script = {"#!/bin/bash",
                                     sbatchDirective("--job-name", jobName(folder) + "-merge"),
                                     "#SBATCH --ntasks=1",
                                     "#SBATCH --cpus-per-task=1",
                                     "#SBATCH --output=" + folder + "logs/optima-merge-%j.out",
                                     "#SBATCH --error=" + folder + "logs/optima-merge-%j.err"};
  if (!options.partition.empty())
    script.push_back(sbatchDirective("--partition", options.partition));
  script.push_back(
      "# Submitted to start after the array, however its tasks end: a piece still "
      "missing is named in the error log.");
  script.push_back("exec " + shellQuoted(options.program) + " optima --dir " + shellQuoted(folder) +
                   " --merge" + (options.backbone ? " --backbone" : ""));
  return lines(script);
}

}  // namespace

std::string arrayRanges(const std::vector<int>& numbers) {
  std::string text;
  for (std::size_t i = 0; i < numbers.size();) {
    std::size_t last = i;
    while (last + 1 < numbers.size() && numbers[last + 1] == numbers[last] + 1) ++last;
    if (!text.empty()) text += ',';
    text += std::to_string(numbers[i]);
    if (last > i) {
      text += '-';
      text += std::to_string(numbers[last]);
    }
    i = last + 1;
  }
  return text;
}

SlurmCountJob writeSlurmCountJob(const std::vector<int>& left, const SlurmCountOptions& options) {
  std::string folder =
      fs::absolute(options.folder.empty() ? "." : options.folder).lexically_normal().string();
  if (folder.back() != '/') folder += '/';
  SlurmCountJob job;
  job.arrayScript = folder + "optima.sbatch";
  job.mergeScript = folder + "optima-merge.sbatch";
  job.tasks = static_cast<int>(left.size());
  if (left.empty()) return job;
  std::error_code error;
  fs::create_directories(folder + "logs", error);
  if (error) throw InputError{"cannot create " + folder + "logs: " + error.message()};
  writeFileOrThrow(job.arrayScript, arrayScript(folder, left, options));
  writeFileOrThrow(job.mergeScript, mergeScript(folder, options));
  return job;
}

}  // namespace jobshop
