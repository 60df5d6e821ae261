// Counting the schedules within a bound without listing them, on several threads that share one
// cache of known counts: the search tree is cut into the same subtrees as for listing, each
// counted to the end or not at all, so that a stopped count can be resumed from the subtrees done.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "exact/count_cache.h"
#include "exact/memo_count.h"
#include "exact/schedule_search.h"
#include "exact/wide_count.h"
#include "support/memory_limits.h"
#include "support/progress_line.h"
#include "support/stop_condition.h"

namespace jobshop {

// The default of --memory, in megabytes, where no limit asks for less: a quarter of a 24 GB
// machine.
inline constexpr std::size_t kDefaultCountMemoryMb = 6144;
// The least table --memory takes.
inline constexpr std::size_t kLeastCountMemoryMb = 16;

// The default of --memory under limits: kDefaultCountMemoryMb, or half the smallest limit where
// that is less, so that the rest (the threads' stacks, the allocator's arenas, the search) has
// room beside the table; never under kLeastCountMemoryMb.
std::size_t defaultCountMemoryMb(const MemoryLimits& limits);

// A subtree begun and not done, by its index in the split: where its walk stopped.
struct PartialSubtree {
  int index = 0;
  SubtreePlace place;
};

// What a stopped count keeps: the count of every subtree done, by its index in the split, and the
// place of every subtree begun, so that no finished work is counted again.
struct CountProgress {
  int subtrees = 0;  // how many the tree was cut into
  std::vector<std::pair<int, WideCount>> done;
  std::vector<PartialSubtree> partial;
};

// One of `of` pieces of the cut, which independent counts take apart: the subtrees whose index i
// in the cut has i % of == index. One piece of one is the whole tree.
struct CutPiece {
  int index = 0;
  int of = 1;
};

struct ExactCountRequest {
  int bound = 0;
  // The other pieces' subtrees are neither counted nor part of the result.
  CutPiece piece;
  int threads = 1;
  std::size_t memoryBytes = kDefaultCountMemoryMb << 20;
  // Its signal flag, deadline and subtreeLimit (the subtrees this count finishes before it stops)
  // end the count early, as a lower bound.
  StopCondition stop;
  // Subtrees an earlier count finished, and places it stopped at; what they hold is not counted
  // again, and the subtrees begun are taken up first.
  const CountProgress* resumeFrom = nullptr;
  // Called from the calling thread now and then, and once the count ends or stops, with every
  // subtree done so far: the place to write a checkpoint.
  std::function<void(const CountProgress&)> checkpoint;
  std::chrono::steady_clock::duration checkpointEvery = std::chrono::seconds(60);
  // Also gather the orders on each machine that the schedules counted realise (order_set.h), which
  // the table keeps beside each count, within the same memory.
  bool orders = false;
};

// An estimate of a stopped count's total from the subtrees counted: they are taken in a fixed
// random order, and the first `counted` of that order, all done, are a random sample.
struct SubtreeSample {
  double estimate = 0;
  double standardError = 0;
  int counted = 0;
  int subtrees = 0;
};

struct ExactCountResult {
  WideCount count;       // exact when complete, else a lower bound
  bool complete = true;  // every subtree was counted
  bool timedOut = false;
  bool interrupted = false;   // a stop signal ended it
  bool limitReached = false;  // the subtree limit ended it
  std::int64_t nodes = 0;
  CountCacheStats cache;
  std::size_t cacheBytes = 0;  // the table's size at the end
  CountProgress progress;      // every subtree done or begun, this run's and the resumed
  // The nodes each subtree of the cut took in this run (0 for those it did not count): the work
  // of each, as a share of the whole.
  std::vector<std::int64_t> subtreeNodes;
  // No subtree was taken up (the time ran out before the count began), so the checkpoint holds
  // what it held before.
  bool noProgress = false;
  bool noTable = false;
  std::chrono::steady_clock::time_point
      countStarted;  // once the tree was cut, when threads began  // the table of known counts
                     // could not be had: nothing was counted
  std::optional<SubtreeSample> sample;  // when stopped with at least two in the sample
  // With request.orders, once complete without resuming: the orders every schedule counted
  // realises (order_set.h), those of the piece's subtrees for a piece; empty otherwise, a subtree
  // counted before having left no trace.
  std::vector<std::uint64_t> seenOrders;
};

// Counts the schedules of makespan <= request.bound: the number countSchedules finds, whatever
// the threads, the memory and the stops and resumptions on the way. Throws std::invalid_argument
// when resumeFrom is not of this cut of the tree (another number of subtrees, an index out of range
// or given twice, a place no walk of its subtree stops at). Stopped by the
// deadline or a signal, the count is a lower bound (the subtrees done and the parts of the
// others counted so far) and complete is false; so is it once request.stop.subtreeLimit subtrees
// are done.
ExactCountResult countExactly(const SearchProblem& problem, const ExactCountRequest& request,
                              ProgressLine& progress);

// The least number of subtrees the cut is asked for when it is shared among pieces: a fixed
// number, or eight per piece where there are many pieces, so that every piece gets a fair share of
// large and small subtrees.
int cutSizeFor(int pieces);

// The number of subtrees countExactly cuts the tree into for pieces pieces, which a resumed count
// and every piece of one count must match.
int exactCountSubtrees(const SearchProblem& problem, int bound, int pieces = 1);

}  // namespace jobshop
