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

// Each subtree in cut order, walked for at most `nodes` (fewer on a cut too wide for
// kPilotTotalNodes) on one thread: what it settles and where it leaves the others depends on
// nothing but the problem.
Pilot runPilot(const SearchProblem& problem, const std::vector<SearchPrefix>& prefixes, int bound,
               std::int64_t nodes, CountCache& cache, const StopCondition& stop) {
  Pilot pilot;
  if (nodes == 0) {
    for (std::size_t i = 0; i < prefixes.size(); ++i) pilot.open.push_back(i);
    pilot.places.resize(prefixes.size(), SubtreePlace{{}, WideCount(countLimbsFor(problem))});
    return pilot;
  }
  StopCondition budget = stop;
  const auto cut = static_cast<std::int64_t>(prefixes.size());
  budget.nodeLimit = std::max<std::int64_t>(1, std::min(nodes, kPilotTotalNodes / cut));
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

// What one sampled subtree holds beyond the pilot's lower bound of it.
struct UnitGain {
  double gain = 0;
  bool estimated = false;  // went down a branch: gain is an estimate
  std::int64_t nodes = 0;
  bool stopped = false;  // the stop came first: no gain
};

struct UnitLimits {
  int bound = 0;
  std::int64_t unitNodes = 0;
  std::size_t tableBytes = 0;
  const StopCondition* stop = nullptr;
};

// A step down a subtree too large to count goes to the shallowest depth below it with at least
// this many branches: on a tree of many levels, a few levels at a time.
constexpr int kBranchesPerStep = 16;

// The branches below a subtree too large to count, each glanced at within an equal share of the
// allowance: the ones that end there are counted (their sum into settled), the others left open.
struct Glance {
  double settled = 0;
  std::vector<SearchPrefix> open;
  std::int64_t nodes = 0;
};

Glance glanceAt(const SearchProblem& problem, const std::vector<SearchPrefix>& branches,
                const UnitLimits& limits, CountCache& table) {
  Glance glance;
  if (branches.empty()) return glance;
  StopCondition share = *limits.stop;
  share.nodeLimit =
      std::max<std::int64_t>(1, limits.unitNodes / static_cast<std::int64_t>(branches.size()));
  MemoCountLimits counting;
  counting.bound = limits.bound;
  counting.stop = &share;
  for (const SearchPrefix& branch : branches) {
    const MemoCountOutcome outcome = countSubtree(problem, branch, counting, table);
    glance.nodes += outcome.nodes;
    if (limits.stop->reached()) return glance;
    if (outcome.stopped) {
      glance.open.push_back(branch);
    } else {
      glance.settled += asDouble(outcome.count);
    }
  }
  return glance;
}

// Counts the subtree below prefix from where the pilot left it, within limits.unitNodes. When it
// does not end there, goes down from its root: its cut into at least kBranchesPerStep branches,
// each glanced at within an equal share of the allowance; those that end are counted, and one of
// the k others, drawn uniformly, stands for all of them (weighing k times) and is cut in turn,
// and so on down until every branch of a cut ends. What was counted on the way, each part times
// the weight of its step, is an unbiased estimate of the subtree's count (Knuth's estimator of a
// tree's size, with Purdom's partial backtracking: the small branches are counted, not sampled);
// exact where every k was 1. The table is fresh for the subtree and walked by one thread, so the
// walk depends on the seed alone.
UnitGain gainOfUnit(const SearchProblem& problem, const SearchPrefix& prefix,
                    const SubtreePlace& from, const UnitLimits& limits, std::mt19937_64& random) {
  UnitGain unit;
  CountCache table(limits.tableBytes, stateKeyShape(problem, limits.bound).words);
  StopCondition allowance = *limits.stop;
  if (limits.unitNodes > 0) allowance.nodeLimit = limits.unitNodes;
  MemoCountLimits counting;
  counting.bound = limits.bound;
  counting.stop = &allowance;
  // A subtree the pilot did not walk is counted from its root.
  const MemoCountOutcome whole =
      countSubtree(problem, prefix, counting, table, from.at.empty() ? nullptr : &from);
  unit.nodes += whole.nodes;
  if (limits.stop->reached()) {
    unit.stopped = true;
    return unit;
  }
  if (!whole.stopped) {
    unit.gain = asDouble(whole.count) - asDouble(from.before);
    return unit;
  }
  SearchPrefix branch = prefix;
  double weight = 1;
  double counted = 0;  // the branches counted on the way down, each times its weight
  for (;;) {
    const Glance glance = glanceAt(
        problem, splitBelow(problem, limits.bound, branch, kBranchesPerStep), limits, table);
    unit.nodes += glance.nodes;
    if (limits.stop->reached()) {
      unit.stopped = true;
      return unit;
    }
    counted += weight * glance.settled;
    if (glance.open.empty()) {
      unit.gain = counted - asDouble(from.before);
      return unit;
    }
    if (glance.open.size() > 1) unit.estimated = true;
    const std::size_t pick = uniformIndexBelow(random, glance.open.size());
    weight *= static_cast<double>(glance.open.size());
    branch = glance.open[pick];
  }
}

// The draws within the k-th sampled subtree, apart from every other subtree's.
std::mt19937_64 unitRandom(std::uint64_t seed, std::size_t k) {
  std::seed_seq sequence{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32),
                         static_cast<std::uint32_t>(k)};
  return std::mt19937_64(sequence);
}

struct SampleCount {
  std::vector<std::optional<UnitGain>> units;  // beside the draw; empty where stopped
  std::atomic<std::size_t> next{0};
  std::atomic<std::int64_t> nodes{0};
};

// Takes the drawn subtrees one at a time and finds what each holds beyond the pilot's bound.
void countDrawn(const SearchProblem& problem, const std::vector<SearchPrefix>& prefixes,
                const Pilot& pilot, const std::vector<std::size_t>& drawn, const UnitLimits& limits,
                std::uint64_t seed, SampleCount& counted) {
  for (std::size_t k = counted.next.fetch_add(1); k < drawn.size() && !limits.stop->reached();
       k = counted.next.fetch_add(1)) {
    const std::size_t at = drawn[k];
    std::mt19937_64 random = unitRandom(seed, k);
    const UnitGain unit =
        gainOfUnit(problem, prefixes[pilot.open[at]], pilot.places[at], limits, random);
    counted.nodes.fetch_add(unit.nodes);
    if (!unit.stopped) counted.units[k] = unit;
  }
}

}  // namespace

SubtreeSampleEstimate estimateBySubtreeSample(const SearchProblem& problem,
                                              const SubtreeSampleRequest& request) {
  SubtreeSampleEstimate result;
  const std::vector<SearchPrefix> prefixes = splitSearch(problem, request.bound, kSampleCut);
  result.subtrees = static_cast<int>(prefixes.size());
  // The pilot's table is given up before the sample's tables take its memory.
  const Pilot pilot = [&] {
    CountCache cache(request.memoryBytes, stateKeyShape(problem, request.bound).words);
    return runPilot(problem, prefixes, request.bound, request.pilotNodes, cache, request.stop);
  }();
  result.nodes = pilot.nodes;
  if (pilot.stopped) {
    result.stopped = true;
    return result;
  }
  result.settled = pilot.settledCount;
  const std::vector<std::size_t> drawn = drawSample(
      pilot.open.size(), static_cast<std::size_t>(std::max(request.sample, 0)), request.seed);
  SampleCount counted;
  counted.units.resize(drawn.size());
  const int threads = std::clamp(request.threads, 1, 1024);
  UnitLimits limits;
  limits.bound = request.bound;
  limits.unitNodes = request.unitNodes;
  limits.tableBytes = request.memoryBytes / static_cast<std::size_t>(threads);
  limits.stop = &request.stop;
  std::vector<std::thread> pool;
  pool.reserve(static_cast<std::size_t>(threads));
  for (int t = 0; t < threads; ++t) {
    pool.emplace_back(
        [&] { countDrawn(problem, prefixes, pilot, drawn, limits, request.seed, counted); });
  }
  for (std::thread& thread : pool) thread.join();
  result.nodes += counted.nodes.load();

  SampledStratum stratum;
  stratum.settled = pilot.settled;
  stratum.population = static_cast<int>(pilot.open.size());
  for (const SubtreePlace& place : pilot.places) stratum.pilotFloor += asDouble(place.before);
  // The longest run of the draw all counted: a smaller sample, still uniform, when a stop came.
  int taken = 0;
  for (const std::optional<UnitGain>& unit : counted.units) {
    if (!unit) break;
    (unit->estimated ? stratum.estimatedGains : stratum.gains).push_back(unit->gain);
    ++taken;
  }
  result.sampled = taken;
  result.descended = static_cast<int>(stratum.estimatedGains.size());
  result.stopped = static_cast<std::size_t>(taken) < drawn.size();
  result.usable = true;
  result.interval = estimateTotal(stratum);
  return result;
}

}  // namespace jobshop
