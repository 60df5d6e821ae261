// The checkpoint goes beside optima.json, written through a temporary file so that a count
// stopped while writing it keeps the one before.
#include "run/count_only_optima.h"

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <stdexcept>

#include "results/count_checkpoint.h"
#include "support/bounded_file.h"
#include "support/text_file_output.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

std::string checkpointPath(const std::string& folder) {
  return pathInFolder(folder, kCountCheckpointFileName);
}

OrFailure<CountCheckpoint> readCheckpoint(const std::string& folder) {
  const std::string path = checkpointPath(folder);
  const BoundedRead read = readBoundedFile(path, kMaxRecordFileBytes);
  if (read.failure == BoundedReadFailure::kUnreadable)
    return Failure{"no checkpoint to resume from: cannot read " + path};
  if (!read.text) return Failure{"cannot resume from " + path + ": " + read.problem};
  OrFailure<CountCheckpoint> checkpoint = parseCountCheckpoint(*read.text);
  if (!checkpoint) return Failure{path + ": " + checkpoint.reason()};
  return checkpoint;
}

// Nothing when the checkpoint is of this count: the same instance, bound and cut of the tree.
MaybeFailure checkpointMismatch(const CountCheckpoint& checkpoint, const EnumeratedOptima& summary,
                                int subtrees) {
  if (checkpoint.instanceSha256 != summary.instanceSha256 || checkpoint.jobs != summary.jobs ||
      checkpoint.machines != summary.machines) {
    return Failure{"it counts another D_Entrada.txt"};
  }
  if (checkpoint.bound != summary.bound) {
    return Failure{"it counts makespans <= " + std::to_string(checkpoint.bound) +
                   ", not <= " + std::to_string(summary.bound)};
  }
  if (checkpoint.subtrees != subtrees) {
    return Failure{"it cuts the tree into " + std::to_string(checkpoint.subtrees) +
                   " subtrees, this program into " + std::to_string(subtrees)};
  }
  return std::nullopt;
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

OrFailure<WideCount> subtreeCount(const std::string& digits, int index, int width) {
  std::optional<WideCount> count = parseWideCount(digits, width);
  if (!count) {
    return Failure{"the count of subtree " + std::to_string(index) +
                   " is beyond any this instance has"};
  }
  return std::move(*count);
}

// The progress a checkpoint holds, its counts in limbs of width, or why a count does not fit.
OrFailure<CountProgress> progressOf(const CountCheckpoint& checkpoint, int width) {
  CountProgress progress;
  progress.subtrees = checkpoint.subtrees;
  for (const auto& [index, digits] : checkpoint.done) {
    OrFailure<WideCount> count = subtreeCount(digits, index, width);
    if (!count) return count.failure();
    progress.done.emplace_back(index, std::move(count).value());
  }
  for (const CountCheckpoint::Partial& partial : checkpoint.partial) {
    OrFailure<WideCount> count = subtreeCount(partial.count, partial.index, width);
    if (!count) return count.failure();
    progress.partial.push_back({partial.index, {partial.at, std::move(count).value()}});
  }
  return progress;
}

// The checkpoint of progress.
void storeProgress(const CountProgress& progress, CountCheckpoint& checkpoint) {
  checkpoint.subtrees = progress.subtrees;
  checkpoint.done.clear();
  for (const auto& [index, count] : progress.done)
    checkpoint.done.emplace_back(index, count.decimal());
  checkpoint.partial.clear();
  for (const PartialSubtree& partial : progress.partial) {
    checkpoint.partial.push_back({partial.index, partial.place.at, partial.place.before.decimal()});
  }
}

// The count, or why it could not be made: a resumed place that is not of this tree, or no table.
OrFailure<ExactCountResult> runCount(const SearchProblem& problem, const ExactCountRequest& count,
                                     const std::string& folder) {
  ProgressLine progress = terminalProgressLine(false);
  ExactCountResult result;
  try {
    result = countExactly(problem, count, progress);
  } catch (const std::invalid_argument& error) {
    return Failure{"cannot resume from " + checkpointPath(folder) + ": " + error.what()};
  }
  if (result.noTable) {
    return Failure{"cannot have the table of known counts (" + groupedMegabytes(count.memoryBytes) +
                   " MB): not enough memory; give a smaller --memory"};
  }
  return result;
}

// The time limit a count that took up nothing needs at least: what went before the count, then as
// long again, and never under a second, to count in.
void printNoProgress(double secondsBefore, std::ostream& out) {
  const double needed = std::max(1.0, std::ceil(2 * secondsBefore));
  char text[256];
  std::snprintf(text, sizeof text,
                "no progress: the time limit ran out %.3f s in, before the count took up a "
                "subtree; run with a --time-limit of at least %.0f s",
                secondsBefore, needed);
  out << text << "\n";
}

}  // namespace

OrFailure<int> checkpointBound(const std::string& folder) {
  const OrFailure<CountCheckpoint> checkpoint = readCheckpoint(folder);
  if (!checkpoint) return checkpoint.failure();
  return checkpoint->bound;
}

CountOnlyOutcome countOnly(const SearchProblem& problem, const CountOnlyRequest& request) {
  CountOnlyOutcome outcome;
  EnumeratedOptima& summary = *request.summary;
  const int width = countLimbsFor(problem);
  std::optional<CountProgress> resumed;
  if (request.resume) {
    // Cutting the tree costs as much as a small count: only a resumed count checks the cut.
    outcome.subtrees = static_cast<std::size_t>(exactCountSubtrees(problem, summary.bound));
    const OrFailure<CountCheckpoint> stored = readCheckpoint(request.folder);
    if (!stored) {
      outcome.failure = stored.reason();
      return outcome;
    }
    const MaybeFailure mismatch =
        checkpointMismatch(*stored, summary, static_cast<int>(outcome.subtrees));
    OrFailure<CountProgress> progress =
        mismatch ? OrFailure<CountProgress>(*mismatch) : progressOf(*stored, width);
    if (!progress) {
      outcome.failure =
          "cannot resume from " + checkpointPath(request.folder) + ": " + progress.reason();
      return outcome;
    }
    resumed = std::move(progress).value();
    outcome.resumed = true;
    outcome.resumedSubtrees = resumed->done.size();
    outcome.resumedBegun = resumed->partial.size();
  }
  CountCheckpoint checkpoint{
      summary.instanceSha256, summary.jobs, summary.machines, summary.bound, 0, {}, {}};
  ExactCountRequest count;
  count.bound = summary.bound;
  count.threads = request.threads;
  count.memoryBytes = request.memoryMb << 20;
  count.stop = request.stop;
  count.resumeFrom = resumed ? &*resumed : nullptr;
  count.orders = request.orders;
  std::string checkpointFailure;
  count.checkpoint = [&](const CountProgress& progress) {
    storeProgress(progress, checkpoint);
    const MaybeFailure failure = writeTextFile(
        checkpointPath(request.folder), countCheckpointJson(checkpoint), WriteMode::kReplace);
    if (!failure) {
      outcome.checkpointWritten = true;
    } else {
      checkpointFailure = failure->reason;
    }
  };
  const OrFailure<ExactCountResult> counted = runCount(problem, count, request.folder);
  if (!counted) {
    outcome.failure = counted.reason();
    return outcome;
  }
  const ExactCountResult& result = *counted;
  if (result.noProgress && !result.interrupted) {
    outcome.noProgressAfter =
        std::chrono::duration<double>(result.countStarted - request.started).count();
  }
  outcome.interruption = result.interrupted ? request.stop.stopSignal() : 0;
  outcome.timedOut = result.timedOut;
  outcome.nodes = result.nodes;
  outcome.cache = result.cache;
  outcome.tableBytes = result.cacheBytes;
  outcome.seenOrders = result.seenOrders;
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

namespace {

void printSampleEstimate(const SampleEstimate& e, std::ostream& out) {
  char text[320];
  // Said only where some were, so that an estimate from counts alone reads as it always has.
  char descended[96] = "";
  if (e.descended > 0)
    std::snprintf(descended, sizeof descended, " (%d of them estimated down a random branch)",
                  e.descended);
  std::snprintf(
      text, sizeof text,
      "sample estimate %.4g (%.0f %% interval %.4g to %.4g, standard error %.2g; %d of %d "
      "unsettled subtrees counted%s, %d of %d settled, seed %llu)",
      e.value, 100 * e.level, e.low, e.high, e.standardError, e.sampled, e.unsettled, descended,
      e.settled, e.subtrees, static_cast<unsigned long long>(e.seed));
  out << text << "\n";
}

}  // namespace

void printCountAndEstimateLines(const EnumeratedOptima& summary, std::ostream& out) {
  out << (summary.complete ? "exact " : "lower bound ") << countText(summary) << "\n";
  if (summary.estimate) {
    char text[128];
    std::snprintf(text, sizeof text, "estimate %.3g (standard error %.2g, %lld probes, seed %llu)",
                  summary.estimate->value, summary.estimate->standardError,
                  static_cast<long long>(summary.estimate->probes),
                  static_cast<unsigned long long>(summary.estimate->seed));
    out << text << "\n";
  }
}

void printCountOnlyLines(const CountOnlyOutcome& outcome, const EnumeratedOptima& summary,
                         std::ostream& out) {
  printCountAndEstimateLines(summary, out);
  if (summary.subtreeEstimate) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "subtree estimate %.3g (standard error %.2g, from %d of %d subtrees)",
                  summary.subtreeEstimate->value, summary.subtreeEstimate->standardError,
                  summary.subtreeEstimate->counted, summary.subtreeEstimate->subtrees);
    out << text << "\n";
  }
  if (summary.sampleEstimate) printSampleEstimate(*summary.sampleEstimate, out);
  if (outcome.resumed) {
    out << "resumed " << outcome.resumedSubtrees << " of " << outcome.subtrees << " subtrees";
    if (outcome.resumedBegun > 0) out << " and " << outcome.resumedBegun << " begun";
    out << " from " << kCountCheckpointFileName << "\n";
  }
  if (outcome.noProgressAfter) printNoProgress(*outcome.noProgressAfter, out);
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
