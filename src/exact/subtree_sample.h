// How many schedules a tree too large to count holds, estimated with an interval: the tree is cut
// into subtrees, a pilot walk of a few thousand nodes settles the small ones exactly (and leaves a
// lower bound of each other one), and a uniform random sample of the others is counted to the end.
// A sampled subtree too large to count within its allowance is estimated instead, by going down
// one random branch of it at a time until a branch is small enough to count (Knuth's estimator,
// with Purdom's partial backtracking: each branch chosen among k weighs k times).
#pragma once

#include <cstddef>
#include <cstdint>

#include "exact/sample_interval.h"
#include "exact/search_problem.h"
#include "support/stop_condition.h"

namespace jobshop {

// The least number of subtrees the tree is cut into for the sample: finer than the count's cut,
// so that the sample is of many small units rather than a few large ones.
inline constexpr int kSampleCut = 512;
// The nodes the pilot walks in each subtree before it leaves it to the sample.
inline constexpr std::int64_t kPilotNodes = 4096;
// The most nodes the whole pilot walks: on a cut of thousands of subtrees the pilot walks fewer
// in each, so that it ends in a minute or so (no cut of a 10-job instance reaches it).
inline constexpr std::int64_t kPilotTotalNodes = std::int64_t{1} << 23;
// The nodes a sampled subtree may take before it is estimated rather than counted.
inline constexpr std::int64_t kUnitNodes = std::int64_t{1} << 14;

struct SubtreeSampleRequest {
  int bound = 0;
  int sample = 64;         // subtrees of those the pilot left unsettled counted to the end
  std::uint64_t seed = 1;  // the same seed draws the same sample, whatever the threads
  // The pilot's walk in each subtree (looked at every 4,096 nodes, so a little beyond); 0: no
  // pilot, every subtree is in the population sampled.
  std::int64_t pilotNodes = kPilotNodes;
  // The nodes each sampled subtree, then each branch of it gone down, may take to be counted (0:
  // counted to the end however long it takes).
  std::int64_t unitNodes = kUnitNodes;
  int threads = 1;
  // The pilot's table of known counts; each thread then counts its sampled subtrees in a table of
  // its share, fresh for each subtree, so that where a subtree is estimated rather than counted
  // does not depend on the threads (as long as the share holds the subtree's counts).
  std::size_t memoryBytes = std::size_t{64} << 20;
  StopCondition stop;  // a stop keeps the longest run of the draw counted to the end
};

struct SubtreeSampleEstimate {
  SampleInterval interval;
  int subtrees = 0;   // the cut
  int settled = 0;    // counted to the end by the pilot
  int sampled = 0;    // of the others (subtrees - settled), counted to the end or estimated
  int descended = 0;  // of the sampled, estimated by going down their branches
  std::int64_t nodes = 0;
  bool stopped = false;  // a stop came before the sample was counted (sampled is then fewer)
  bool usable = false;   // false when the stop came during the pilot: nothing to estimate from
};

// The pilot walks the subtrees one after the other on the calling thread, so what it settles is
// the same with any threads (a table too small to keep its counts may settle fewer); the sample is
// drawn from the others with the seed and counted on request.threads threads, each from where the
// pilot stopped.
SubtreeSampleEstimate estimateBySubtreeSample(const SearchProblem& problem,
                                              const SubtreeSampleRequest& request);

}  // namespace jobshop
