// A count in pieces on a Slurm cluster: a job array of the pieces still to count, and the merge
// that runs once the array has ended.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace jobshop {

struct SlurmCountOptions {
  std::string program;  // absolute path of the program the tasks run
  std::string folder;   // the count's folder, on a file system every node sees
  int bound = 0;
  int pieces = 1;
  int threads = 1;                      // per task, also its --cpus-per-task
  std::optional<std::size_t> memoryMb;  // per task; none: the task's own default
  std::string partition;
  std::string timeLimit;
  std::optional<int> maxRunning;
  bool backbone = false;  // the pieces hand their orders to the merge, which writes the backbone
};

struct SlurmCountJob {
  std::string arrayScript;  // DIR/optima.sbatch
  std::string mergeScript;  // DIR/optima-merge.sbatch
  int tasks = 0;            // array tasks: one per piece still to count
};

// "1-3,5,9-10" for sorted, distinct numbers.
std::string arrayRanges(const std::vector<int>& numbers);

// Writes DIR/optima.sbatch, an array whose task ids are the numbers of the pieces still to count
// (left, from 1), and DIR/optima-merge.sbatch, which merges them; creates DIR/logs/ for the
// tasks' output. Nothing is written when no piece is left. Throws InputError when a file cannot be
// written.
SlurmCountJob writeSlurmCountJob(const std::vector<int>& left, const SlurmCountOptions& options);

inline const char* const kSlurmCountJobFileName = "optima-slurm-job";

}  // namespace jobshop
