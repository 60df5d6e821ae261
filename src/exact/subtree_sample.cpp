// The pilot over the cut, the seeded draw of the sample and its count on several threads.
#include "exact/subtree_sample.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "exact/count_cache.h"
#include "exact/memo_count.h"
#include "exact/schedule_search.h"
#include "exact/search_state_key.h"
#include "exact/uniform_index.h"

namespace jobshop {

namespace {

double asDouble(const WideCount& count) { return std::stod(count.decimal()); }

struct Pilot {
  double settled = 0;
  int settledCount = 0;
  std::vector<std::size_t> open;     // the subtrees it left, in cut order
  std::vector<SubtreePlace> places;  // where it left each of them, beside open
  std::int64_t nodes = 0;
  bool stopped = false;
};

// Each subtree in cut order, walked for at most kPilotNodes on one thread: what it settles and
// where it leaves the others depends on nothing but the problem.
Pilot runPilot(const SearchProblem& problem, const std::vector<SearchPrefix>& prefixes, int bound,
               std::int64_t nodes, CountCache& cache, const StopCondition& stop) {
  Pilot pilot;
  if (nodes == 0) {
    for (std::size_t i = 0; i < prefixes.size(); ++i) pilot.open.push_back(i);
    pilot.places.resize(prefixes.size(), SubtreePlace{{}, WideCount(countLimbsFor(problem))});
    return pilot;
  }
  StopCondition budget = stop;
  budget.nodeLimit = nodes;
  MemoCountLimits limits;
  limits.bound = bound;
  limits.stop = &budget;
  for (std::size_t i = 0; i < prefixes.size(); ++i) {
    MemoCountOutcome outcome = countSubtree(problem, prefixes[i], limits, cache);
    pilot.nodes += outcome.nodes;
    if (stop.reached()) {
      pilot.stopped = true;
      return pilot;
    }
    if (!outcome.stopped) {
      pilot.settled += asDouble(outcome.count);
      ++pilot.settledCount;
      continue;
    }
    pilot.open.push_back(i);
    pilot.places.push_back(std::move(outcome.stoppedAt));
  }
  return pilot;
}

// The first `wanted` of a seeded shuffle of 0..size-1 (Fisher-Yates from the front): a uniform
// sample without replacement, in the order drawn.
std::vector<std::size_t> drawSample(std::size_t size, std::size_t wanted, std::uint64_t seed) {
  std::vector<std::size_t> order(size);
  for (std::size_t i = 0; i < size; ++i) order[i] = i;
  std::mt19937_64 random(seed);
  const std::size_t taken = std::min(wanted, size);
  for (std::size_t i = 0; i < taken; ++i) {
    const std::size_t j = i + static_cast<std::size_t>(uniformIndexBelow(random, size - i));
    std::swap(order[i], order[j]);
  }
  order.resize(taken);
  return order;
}

struct SampleCount {
  std::vector<std::optional<double>> gains;  // beside the draw; empty where not counted to the end
  std::atomic<std::size_t> next{0};
  std::atomic<std::int64_t> nodes{0};
};

// Counts the drawn subtrees to the end from where the pilot left them; the gain of each is what
// it holds beyond the pilot's lower bound.
void countDrawn(const SearchProblem& problem, const std::vector<SearchPrefix>& prefixes,
                const Pilot& pilot, const std::vector<std::size_t>& drawn, int bound,
                CountCache& cache, const StopCondition& stop, SampleCount& counted) {
  MemoCountLimits limits;
  limits.bound = bound;
  limits.stop = &stop;
  for (std::size_t k = counted.next.fetch_add(1); k < drawn.size() && !stop.reached();
       k = counted.next.fetch_add(1)) {
    const std::size_t at = drawn[k];
    const SubtreePlace& from = pilot.places[at];
    // A subtree the pilot did not walk is counted from its root.
    const MemoCountOutcome outcome = countSubtree(problem, prefixes[pilot.open[at]], limits, cache,
                                                  from.at.empty() ? nullptr : &from);
    counted.nodes.fetch_add(outcome.nodes);
    if (!outcome.stopped) counted.gains[k] = asDouble(outcome.count) - asDouble(from.before);
  }
}

}  // namespace

SubtreeSampleEstimate estimateBySubtreeSample(const SearchProblem& problem,
                                              const SubtreeSampleRequest& request) {
  SubtreeSampleEstimate result;
  const std::vector<SearchPrefix> prefixes = splitSearch(problem, request.bound, kSampleCut);
  result.subtrees = static_cast<int>(prefixes.size());
  CountCache cache(request.memoryBytes, stateKeyShape(problem, request.bound).words);
  const Pilot pilot =
      runPilot(problem, prefixes, request.bound, request.pilotNodes, cache, request.stop);
  result.nodes = pilot.nodes;
  if (pilot.stopped) {
    result.stopped = true;
    return result;
  }
  result.settled = pilot.settledCount;
  const std::vector<std::size_t> drawn = drawSample(
      pilot.open.size(), static_cast<std::size_t>(std::max(request.sample, 0)), request.seed);
  SampleCount counted;
  counted.gains.resize(drawn.size());
  std::vector<std::thread> pool;
  for (int t = 0; t < std::clamp(request.threads, 1, 1024); ++t) {
    pool.emplace_back([&] {
      countDrawn(problem, prefixes, pilot, drawn, request.bound, cache, request.stop, counted);
    });
  }
  for (std::thread& thread : pool) thread.join();
  result.nodes += counted.nodes.load();

  SampledStratum stratum;
  stratum.settled = pilot.settled;
  stratum.population = static_cast<int>(pilot.open.size());
  for (const SubtreePlace& place : pilot.places) stratum.pilotFloor += asDouble(place.before);
  // The longest run of the draw all counted: a smaller sample, still uniform, when a stop came.
  for (const std::optional<double>& gain : counted.gains) {
    if (!gain) break;
    stratum.gains.push_back(*gain);
  }
  result.sampled = static_cast<int>(stratum.gains.size());
  result.stopped = stratum.gains.size() < drawn.size();
  result.usable = true;
  result.interval = estimateTotal(stratum);
  return result;
}

}  // namespace jobshop
