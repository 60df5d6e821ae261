// Each worker is this very program run as `optima --piece K/N`, so a piece counted here, on a
// cluster node or by hand writes the same file, and the merge checks them all alike.
#include "run/optima_workers.h"

#include <filesystem>

#include "campaigns/execution_launch.h"
#include "campaigns/process_pool.h"
#include "campaigns/sbatch_script.h"
#include "campaigns/slurm_count_job.h"
#include "input/input_error.h"
#include "results/count_piece.h"
#include "support/bounded_file.h"
#include "support/text_file_output.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

constexpr const char* kCommandName = "jobshop-niching optima";

std::vector<std::string> pieceArguments(const std::string& program, const PiecesPlan& plan,
                                        int piece) {
  std::vector<std::string> args = {program,     "optima",
                                   "--dir",     plan.folder.empty() ? "." : plan.folder,
                                   "--bound",   std::to_string(plan.bound),
                                   "--threads", std::to_string(plan.threads)};
  if (plan.memoryMb) {
    args.push_back("--memory");
    args.push_back(std::to_string(*plan.memoryMb));
  }
  args.push_back("--piece");
  args.push_back(std::to_string(piece) + "/" + std::to_string(plan.pieces));
  if (plan.orders) args.push_back("--backbone");
  return args;
}

// The piece file's name with another ending: where a worker's output goes.
std::string logPath(const PiecesPlan& plan, int piece, const char* ending) {
  std::string name = countPieceFileName(piece, plan.pieces);
  name.replace(name.size() - 5, 5, ending);
  return pathInFolder(plan.folder, name);
}

// The last line a failed worker wrote on its standard error, which says why.
std::string lastErrorLine(const std::string& path) {
  const std::optional<std::vector<std::string>> lines = readFileLines(path, kMaxRecordFileBytes);
  if (!lines) return "";
  const std::string prefix = std::string(kCommandName) + ": ";
  for (auto line = lines->rbegin(); line != lines->rend(); ++line) {
    if (line->empty() || line->rfind("usage:", 0) == 0) continue;
    return line->rfind(prefix, 0) == 0 ? line->substr(prefix.size()) : *line;
  }
  return "";
}

}  // namespace

WorkersOutcome countPiecesHere(const std::vector<int>& left, const PiecesPlan& plan, int workers) {
  const std::string program = selfProgramPath();
  std::vector<PoolCommand> commands;
  commands.reserve(left.size());
  for (int piece : left) {
    commands.push_back({pieceArguments(program, plan, piece), logPath(plan, piece, ".out"),
                        logPath(plan, piece, ".err")});
  }
  const PoolOutcome pool = runPool(commands, workers);
  WorkersOutcome outcome;
  outcome.stopSignal = pool.stopSignal;
  for (std::size_t i = 0; i < left.size(); ++i) {
    if (pool.succeeded[i]) {
      ++outcome.counted;
      std::error_code ignored;
      std::filesystem::remove(commands[i].outPath, ignored);
      std::filesystem::remove(commands[i].errPath, ignored);
    } else if (!pool.ended[i].empty() && pool.stopSignal == 0) {
      const std::string why = lastErrorLine(commands[i].errPath);
      outcome.failed.emplace_back(left[i], pool.ended[i] + (why.empty() ? "" : ": " + why));
    }
  }
  return outcome;
}

int submitPiecesToSlurm(const std::vector<int>& left, const PiecesPlan& plan,
                        const SlurmSubmission& slurm, std::ostream& out, std::ostream& err) {
  if (left.empty()) {
    out << "nothing pending: all " << plan.pieces
        << " pieces are counted; optima --merge adds them up\n";
    return 0;
  }
  SlurmCountOptions options{selfProgramPath(), plan.folder,   plan.bound,      plan.pieces,
                            plan.threads,      plan.memoryMb, slurm.partition, slurm.timeLimit,
                            slurm.maxRunning,  plan.orders};
  SlurmCountJob job;
  try {
    job = writeSlurmCountJob(left, options);
  } catch (const InputError& error) {
    err << kCommandName << ": " << error.message << "\n";
    return 1;
  }
  out << "wrote " << job.arrayScript << ": " << job.tasks
      << (job.tasks == 1 ? " array task for the piece" : " array tasks for the pieces") << " of "
      << plan.pieces << " still to count\nwrote " << job.mergeScript
      << ": the merge, to run once they have ended\n";
  if (!slurm.submit) {
    out << "submit both with: jobs=$(sbatch --parsable " << job.arrayScript
        << ") && sbatch --dependency=afterany:$jobs " << job.mergeScript << "\n";
    return 0;
  }
  const OrFailure<std::string> array = submitSbatch(job.arrayScript);
  if (!array) {
    err << kCommandName << ": " << array.reason() << "\n";
    return 1;
  }
  // afterany: the merge runs however the tasks end, and names any piece still missing.
  const OrFailure<std::string> merge =
      submitSbatch(job.mergeScript, {"--dependency=afterany:" + *array});
  if (!merge) {
    err << kCommandName << ": submitted job " << *array << " but " << merge.reason() << "\n";
    return 1;
  }
  const std::string record = pathInFolder(plan.folder, kSlurmCountJobFileName);
  if (const MaybeFailure failure =
          writeTextFile(record, *array + "\n" + *merge + "\n", WriteMode::kReplace)) {
    err << kCommandName << ": submitted jobs " << *array << " and " << *merge
        << " but cannot record them in " << record << " (" << failure->reason << ")\n";
    return 1;
  }
  out << "submitted job " << *array << " (the pieces) and job " << *merge
      << " (the merge, once they have ended)\n";
  return 0;
}

}  // namespace jobshop
