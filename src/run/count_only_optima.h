// The optima command's count without a list: the shared-cache count of every schedule within the
// bound, its checkpoints, its resumption and the lines it adds to the summary.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "exact/exact_count.h"
#include "results/optima_file.h"
#include "support/failure.h"
#include "support/stop_condition.h"

namespace jobshop {

struct CountOnlyRequest {
  std::string folder;  // where "optima-checkpoint.json" is written and read
  int threads = 1;
  std::size_t memoryMb = kDefaultCountMemoryMb;
  StopCondition stop;  // the deadline and the signal flag, when the handlers are installed
  // When the command started: what came before the count is part of any time limit.
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
  bool resume = false;
  bool orders = false;  // also gather the orders the schedules realise, for the backbone
  // The summary so far: instance, digest and bound; the count and completeness are filled in.
  EnumeratedOptima* summary = nullptr;
};

struct CountOnlyOutcome {
  int interruption = 0;  // the signal that stopped the count, 0 when none did
  bool timedOut = false;
  std::int64_t nodes = 0;
  CountCacheStats cache;
  std::size_t tableBytes = 0;
  bool resumed = false;
  std::size_t resumedSubtrees = 0;
  std::size_t resumedBegun = 0;  // subtrees an earlier count began and this one went on with
  // The time limit ran out before the count took up any subtree: the seconds that went before it.
  std::optional<double> noProgressAfter;
  std::size_t subtrees = 0;
  bool checkpointWritten = false;
  std::string failure;  // why the count could not run or its checkpoint not be written
  // With request.orders, once complete: the orders the schedules realise (exact/order_set.h).
  std::vector<std::uint64_t> seenOrders;
};

// The bound a resumed count goes on with: the checkpoint's, or why the folder holds no readable
// checkpoint.
OrFailure<int> checkpointBound(const std::string& folder);

// Counts within summary->bound, resuming from the folder's checkpoint when asked. A signal in
// request.stop (the caller installed the handlers) stops the count at once; a stopped
// count leaves a checkpoint, a finished one removes it.
CountOnlyOutcome countOnly(const SearchProblem& problem, const CountOnlyRequest& request);

// "exact N" or "lower bound N", and the probes' estimate when there is one: the lines every count
// without a list prints, whichever search made it.
void printCountAndEstimateLines(const EnumeratedOptima& summary, std::ostream& out);

// The summary lines of the count beyond those of a listing count.
void printCountOnlyLines(const CountOnlyOutcome& outcome, const EnumeratedOptima& summary,
                         std::ostream& out);

}  // namespace jobshop
