// The checkpoint goes beside optima.json, written through a temporary file so that a count
// stopped while writing it keeps the one before.
#include "run/count_only_optima.h"

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "exact/count_checkpoint.h"
#include "run/interruption.h"
#include "support/text_file_output.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

std::string checkpointPath(const std::string& folder) {
  return pathInFolder(folder, kCountCheckpointFileName);
}

std::optional<CountCheckpoint> readCheckpoint(const std::string& folder, int width,
                                              std::string& problem) {
  const std::string path = checkpointPath(folder);
  const std::optional<std::string> text = readWholeFile(path);
  if (!text) {
    problem = "no checkpoint to resume from: cannot read " + path;
    return std::nullopt;
  }
  std::optional<CountCheckpoint> checkpoint = parseCountCheckpoint(*text, width, problem);
  if (!checkpoint) problem = path + ": " + problem;
  return checkpoint;
}

// "" when the checkpoint is of this count: the same instance, bound and cut of the tree.
std::string checkpointMismatch(const CountCheckpoint& checkpoint, const EnumeratedOptima& summary,
                               int subtrees) {
  if (checkpoint.instanceSha256 != summary.instanceSha256 || checkpoint.jobs != summary.jobs ||
      checkpoint.machines != summary.machines) {
    return "it counts another D_Entrada.txt";
  }
  if (checkpoint.bound != summary.bound) {
    return "it counts makespans <= " + std::to_string(checkpoint.bound) +
           ", not <= " + std::to_string(summary.bound);
  }
  if (checkpoint.progress.subtrees != subtrees) {
    return "it cuts the tree into " + std::to_string(checkpoint.progress.subtrees) +
           " subtrees, this program into " + std::to_string(subtrees);
  }
  return "";
}

std::string groupedMegabytes(std::size_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f", static_cast<double>(bytes) / (1 << 20));
  return text;
}

std::size_t peakMemoryBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
}

}  // namespace

std::optional<int> checkpointBound(const std::string& folder, std::string& problem) {
  // The counts are not read here, so any width takes them.
  const std::optional<CountCheckpoint> checkpoint = readCheckpoint(folder, 1 << 16, problem);
  if (!checkpoint) return std::nullopt;
  return checkpoint->bound;
}

CountOnlyOutcome countOnly(const SearchProblem& problem, const CountOnlyRequest& request) {
  CountOnlyOutcome outcome;
  EnumeratedOptima& summary = *request.summary;
  const int width = countLimbsFor(problem);
  std::optional<CountCheckpoint> resumed;
  if (request.resume) {
    // Cutting the tree costs as much as a small count: only a resumed count checks the cut.
    outcome.subtrees = static_cast<std::size_t>(exactCountSubtrees(problem, summary.bound));
    resumed = readCheckpoint(request.folder, width, outcome.failure);
    if (!resumed) return outcome;
    const std::string mismatch =
        checkpointMismatch(*resumed, summary, static_cast<int>(outcome.subtrees));
    if (!mismatch.empty()) {
      outcome.failure = "cannot resume from " + checkpointPath(request.folder) + ": " + mismatch;
      return outcome;
    }
    outcome.resumed = true;
    outcome.resumedSubtrees = resumed->progress.done.size();
  }
  CountCheckpoint checkpoint{
      summary.instanceSha256, summary.jobs, summary.machines, summary.bound, {}};
  ExactCountRequest count;
  count.bound = summary.bound;
  count.threads = request.threads;
  count.memoryBytes = request.memoryMb << 20;
  count.deadline = request.deadline;
  count.interruption = &interruptionFlag();
  count.resumeFrom = resumed ? &resumed->progress : nullptr;
  std::string checkpointFailure;
  count.checkpoint = [&](const CountProgress& progress) {
    checkpoint.progress = progress;
    const std::string failure = writeTextFile(checkpointPath(request.folder),
                                              countCheckpointJson(checkpoint), WriteMode::kReplace);
    if (failure.empty()) {
      outcome.checkpointWritten = true;
    } else {
      checkpointFailure = failure;
    }
  };
  ProgressLine progress = terminalProgressLine(false);
  const ExactCountResult result = countExactly(problem, count, progress);
  outcome.interruption = result.interrupted ? interruptionFlag() : 0;
  outcome.timedOut = result.timedOut;
  outcome.nodes = result.nodes;
  outcome.cache = result.cache;
  outcome.tableBytes = result.cacheBytes;
  summary.complete = result.complete;
  if (result.sample) {
    summary.subtreeEstimate = SubtreeEstimate{result.sample->estimate, result.sample->standardError,
                                              result.sample->counted, result.sample->subtrees};
  }
  const std::string digits = result.count.decimal();
  if (digits.size() > 18) {
    summary.count = std::numeric_limits<std::int64_t>::max();
    summary.countDigits = digits;
  } else {
    summary.count = std::stoll(digits);
  }
  if (result.complete) {
    std::error_code ignored;
    std::filesystem::remove(checkpointPath(request.folder), ignored);
    outcome.checkpointWritten = false;
  } else if (!checkpointFailure.empty()) {
    outcome.failure =
        "cannot write " + checkpointPath(request.folder) + " (" + checkpointFailure + ")";
  }
  return outcome;
}

void printCountOnlyLines(const CountOnlyOutcome& outcome, const EnumeratedOptima& summary,
                         std::ostream& out) {
  out << (summary.complete ? "exact " : "lower bound ") << countText(summary) << "\n";
  if (summary.estimate) {
    char text[128];
    std::snprintf(text, sizeof text, "estimate %.3g (standard error %.2g, %lld probes, seed %llu)",
                  summary.estimate->value, summary.estimate->standardError,
                  static_cast<long long>(summary.estimate->probes),
                  static_cast<unsigned long long>(summary.estimate->seed));
    out << text << "\n";
  }
  if (summary.subtreeEstimate) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "subtree estimate %.3g (standard error %.2g, from %d of %d subtrees)",
                  summary.subtreeEstimate->value, summary.subtreeEstimate->standardError,
                  summary.subtreeEstimate->counted, summary.subtreeEstimate->subtrees);
    out << text << "\n";
  }
  if (outcome.resumed) {
    out << "resumed " << outcome.resumedSubtrees << " of " << outcome.subtrees << " subtrees from "
        << kCountCheckpointFileName << "\n";
  }
  if (outcome.interruption != 0) {
    out << "stopped by " << (outcome.interruption == SIGINT ? "SIGINT" : "SIGTERM") << "\n";
  }
  if (outcome.checkpointWritten) {
    out << "checkpoint " << kCountCheckpointFileName << " (go on with --resume)\n";
  }
  const double hitShare = outcome.cache.lookups == 0
                              ? 0
                              : 100.0 * static_cast<double>(outcome.cache.hits) /
                                    static_cast<double>(outcome.cache.lookups);
  char cache[160];
  std::snprintf(cache, sizeof cache, "cache %.1f %% hits of %lld lookups, %lld entries replaced",
                hitShare, static_cast<long long>(outcome.cache.lookups),
                static_cast<long long>(outcome.cache.evictions));
  out << cache << "\ntable " << groupedMegabytes(outcome.tableBytes) << " MB\npeak memory "
      << groupedMegabytes(peakMemoryBytes()) << " MB\n";
}

}  // namespace jobshop
