// Worker threads over the subtrees of a fixed split, all sharing one cache, and the calling thread
// drawing the progress, passing on stops and writing checkpoints.
#include "exact/exact_count.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <new>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>

#include "exact/memo_count.h"
#include "exact/order_set.h"
#include "exact/search_state_key.h"
#include "exact/uniform_index.h"

namespace jobshop {

namespace {

// Enough subtrees that a few threads rarely wait on one large one, that a checkpoint loses
// little and that a stopped count has a sample to estimate from; few enough that cutting the
// tree, which bounds every node above the cut, stays cheap beside the count (la02: 0.03 s for
// 256, 0.37 s for 1,024). A checkpoint depends on this number, so it never changes with the
// threads.
constexpr int kSubtrees = 256;
constexpr int kSubtreesPerPiece = 8;
constexpr auto kWait = std::chrono::milliseconds(250);

struct Slot {
  bool resumed = false;                // done by an earlier count
  bool elsewhere = false;              // another piece's
  const SubtreePlace* from = nullptr;  // where an earlier count stopped in it
  bool done = false;                   // counted to the end by this one
  std::optional<MemoCountOutcome> outcome;
};

// The subtrees in a fixed random order (Fisher-Yates, seed 1): the first k of them are a random
// sample of all, so a stopped count can estimate the whole from them.
std::vector<std::size_t> subtreeOrder(std::size_t subtrees) {
  std::vector<std::size_t> order(subtrees);
  for (std::size_t i = 0; i < subtrees; ++i) order[i] = i;
  std::mt19937_64 random(1);
  for (std::size_t i = subtrees; i > 1; --i)
    std::swap(order[i - 1], order[static_cast<std::size_t>(uniformIndexBelow(random, i))]);
  return order;
}

struct Shared {
  const SearchProblem& problem;
  const std::vector<SearchPrefix>& prefixes;
  MemoCountLimits limits;
  CountCache cache;
  std::atomic<std::size_t> next{0};
  // The request's, and raised here once the count is over: every thread sees it at its next look.
  StopCondition stop;
  std::atomic<std::int64_t> nodes{0};
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<Slot> slots;
  std::vector<std::size_t> order;  // the fixed random order, whose first ones are the sample
  std::vector<std::size_t> queue;  // the order taken: the subtrees begun before first
  std::size_t finished = 0;        // slots with an outcome, under mutex
  std::size_t doneHere = 0;        // subtrees counted to the end by this count, under mutex
  std::atomic<bool> limitReached{false};

  Shared(const SearchProblem& p, const std::vector<SearchPrefix>& s, int bound,
         std::size_t memoryBytes, int orderWords)
      : problem(p),
        prefixes(s),
        cache(memoryBytes, stateKeyShape(p, bound).words, orderWords),
        slots(s.size()),
        order(subtreeOrder(s.size())),
        queue(order) {}
};

// The walk looks at the clock every few thousand nodes, and small subtrees end sooner: each
// subtree starts only while there is time.
void work(Shared& shared) {
  while (!shared.stop.reached()) {
    const std::size_t turn = shared.next.fetch_add(1);
    if (turn >= shared.prefixes.size()) return;
    const std::size_t i = shared.queue[turn];
    if (shared.slots[i].resumed || shared.slots[i].elsewhere) continue;
    MemoCountOutcome outcome = countSubtree(shared.problem, shared.prefixes[i], shared.limits,
                                            shared.cache, shared.slots[i].from);
    {
      const std::lock_guard<std::mutex> lock(shared.mutex);
      shared.slots[i].done = !outcome.stopped;
      shared.slots[i].outcome = std::move(outcome);
      ++shared.finished;
      if (shared.slots[i].done &&
          static_cast<std::int64_t>(++shared.doneHere) >= shared.stop.subtreeLimit) {
        shared.limitReached.store(true);
        shared.stop.raise();
      }
      if (shared.nodes.load() >= shared.stop.nodeLimit) shared.stop.raise();
    }
    shared.changed.notify_one();
  }
}

// Where the subtree of slot stands when it is not done: the place this count stopped at, else the
// one it was resumed from; nothing when it was never begun.
const SubtreePlace* placeOf(const Slot& slot) {
  if (slot.outcome && slot.outcome->stopped && !slot.outcome->stoppedAt.at.empty()) {
    return &slot.outcome->stoppedAt;
  }
  return slot.from;
}

// Every subtree done and every one begun, in index order; under the mutex.
CountProgress progressOf(const Shared& shared, const CountProgress* resumed) {
  CountProgress progress;
  progress.subtrees = static_cast<int>(shared.prefixes.size());
  if (resumed) progress.done = resumed->done;
  for (std::size_t i = 0; i < shared.slots.size(); ++i) {
    const Slot& slot = shared.slots[i];
    if (slot.done) {
      progress.done.emplace_back(static_cast<int>(i), slot.outcome->count);
    } else if (const SubtreePlace* place = placeOf(slot)) {
      progress.partial.push_back({static_cast<int>(i), *place});
    }
  }
  std::sort(progress.done.begin(), progress.done.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  return progress;
}

std::string percentText(double share) {
  char text[16];
  std::snprintf(text, sizeof text, "%.1f %%", 100 * share);
  return text;
}

// The share of subtrees done, and the time the rest would take at this count's pace so far.
void drawProgress(ProgressLine& line, const Shared& shared, std::size_t total, std::size_t resumed,
                  std::size_t doneHere) {
  if (!progressLineDue(line)) return;
  const std::size_t done = resumed + doneHere;
  std::string text =
      "subtrees " + std::to_string(done) + " of " + std::to_string(total) + " (" +
      percentText(total == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(total)) +
      ") | nodes " + std::to_string(shared.nodes.load()) + " | " + elapsedText(line);
  if (doneHere > 0 && done < total) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - line.started).count();
    text +=
        " | about " +
        elapsedText(seconds / static_cast<double>(doneHere) * static_cast<double>(total - done)) +
        " left at this pace";
  }
  drawProgressLine(line, text);
}

// Marks each subtree begun by an earlier count with its place, after checking the place is one a
// walk of that subtree stops at.
void markBegun(std::vector<Slot>& slots, const CountProgress& resumed, const SearchProblem& problem,
               int bound, const std::vector<SearchPrefix>& prefixes) {
  for (const PartialSubtree& partial : resumed.partial) {
    const auto index = static_cast<std::size_t>(partial.index);
    if (partial.index < 0 || index >= slots.size() || slots[index].resumed || slots[index].from) {
      throw std::invalid_argument("a subtree resumed is out of range or given twice");
    }
    if (!placeWithin(problem, bound, prefixes[index], partial.place.at)) {
      throw std::invalid_argument("the place of subtree " + std::to_string(partial.index) +
                                  " is not one its count stops at");
    }
    slots[index].from = &partial.place;
  }
}

// The subtrees begun first, so that a chain of short counts finishes them one after the other.
std::vector<std::size_t> begunFirst(const std::vector<std::size_t>& order,
                                    const std::vector<Slot>& slots) {
  std::vector<std::size_t> queue = order;
  std::stable_partition(queue.begin(), queue.end(),
                        [&](std::size_t i) { return slots[i].from != nullptr; });
  return queue;
}

// Marks the subtrees of the other pieces; returns how many.
std::size_t markElsewhere(std::vector<Slot>& slots, CutPiece piece) {
  std::size_t elsewhere = 0;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    slots[i].elsewhere = static_cast<int>(i % static_cast<std::size_t>(piece.of)) != piece.index;
    if (slots[i].elsewhere) ++elsewhere;
  }
  return elsewhere;
}

std::vector<Slot> markResumed(std::size_t subtrees, const CountProgress* resumed) {
  std::vector<Slot> slots(subtrees);
  if (!resumed) return slots;
  if (resumed->subtrees < 0 || static_cast<std::size_t>(resumed->subtrees) != subtrees) {
    throw std::invalid_argument("the counts resumed are of another cut of the tree");
  }
  for (const auto& [index, count] : resumed->done) {
    if (index < 0 || static_cast<std::size_t>(index) >= subtrees ||
        slots[static_cast<std::size_t>(index)].resumed) {
      throw std::invalid_argument("a subtree resumed is out of range or given twice");
    }
    slots[static_cast<std::size_t>(index)].resumed = true;
  }
  return slots;
}

// The orders of every subtree counted here with schedules in it: all the schedules' orders once
// every subtree was counted here from its start.
std::vector<std::uint64_t> ordersOf(const Shared& shared) {
  std::vector<std::uint64_t> seen(static_cast<std::size_t>(shared.limits.orderWords), 0);
  for (const Slot& slot : shared.slots) {
    if (slot.outcome && !slot.outcome->seenOrders.empty())
      addOrders(seen, slot.outcome->seenOrders);
  }
  return seen;
}

// The whole estimated from the longest run of subtrees, in the order taken, all counted: a simple
// random sample of k of the N subtrees, so N times their mean, with the standard error of a
// sample drawn without replacement.
std::optional<SubtreeSample> sampleOf(const Shared& shared, const CountProgress& progress) {
  std::vector<const WideCount*> counts(shared.prefixes.size(), nullptr);
  for (const auto& [index, count] : progress.done) counts[static_cast<std::size_t>(index)] = &count;
  std::vector<double> sample;
  for (std::size_t i : shared.order) {
    if (counts[i] == nullptr) break;
    sample.push_back(std::stod(counts[i]->decimal()));
  }
  if (sample.size() < 2) return std::nullopt;
  const double k = static_cast<double>(sample.size());
  const double n = static_cast<double>(shared.prefixes.size());
  double mean = 0;
  for (double y : sample) mean += y / k;
  double squares = 0;
  for (double y : sample) squares += (y - mean) * (y - mean);
  const double variance = squares / (k - 1);
  return SubtreeSample{n * mean, n * std::sqrt(variance / k * (1 - k / n)),
                       static_cast<int>(sample.size()), static_cast<int>(shared.prefixes.size())};
}

}  // namespace

std::size_t defaultCountMemoryMb(const MemoryLimits& limits) {
  std::uint64_t megabytes = kDefaultCountMemoryMb;
  for (const std::optional<std::uint64_t>& limit :
       {limits.addressSpace, limits.group, limits.physical}) {
    if (limit) megabytes = std::min<std::uint64_t>(megabytes, *limit / 2 >> 20);
  }
  return static_cast<std::size_t>(std::max<std::uint64_t>(megabytes, kLeastCountMemoryMb));
}

int cutSizeFor(int pieces) { return std::max(kSubtrees, kSubtreesPerPiece * pieces); }

int exactCountSubtrees(const SearchProblem& problem, int bound, int pieces) {
  return static_cast<int>(splitSearch(problem, bound, cutSizeFor(pieces)).size());
}

ExactCountResult countExactly(const SearchProblem& problem, const ExactCountRequest& request,
                              ProgressLine& progress) {
  if (request.piece.of < 1 || request.piece.index < 0 || request.piece.index >= request.piece.of) {
    throw std::invalid_argument("a piece of the cut out of range");
  }
  const std::vector<SearchPrefix> prefixes =
      splitSearch(problem, request.bound, cutSizeFor(request.piece.of));
  std::vector<Slot> slots = markResumed(prefixes.size(), request.resumeFrom);
  const std::size_t elsewhere = markElsewhere(slots, request.piece);
  const std::size_t ours = prefixes.size() - elsewhere;
  if (request.resumeFrom) markBegun(slots, *request.resumeFrom, problem, request.bound, prefixes);
  std::optional<Shared> made;
  try {
    made.emplace(problem, prefixes, request.bound, request.memoryBytes,
                 request.orders ? orderSetWords(problem) : 0);
  } catch (const std::bad_alloc&) {
    ExactCountResult refused;
    refused.complete = false;
    refused.noTable = true;
    refused.count = WideCount(countLimbsFor(problem));
    return refused;
  }
  Shared& shared = *made;
  shared.stop = request.stop;
  shared.limits.bound = request.bound;
  shared.limits.stop = &shared.stop;
  shared.limits.nodesSoFar = &shared.nodes;
  shared.limits.orderWords = request.orders ? orderSetWords(problem) : 0;
  shared.slots = std::move(slots);
  shared.queue = begunFirst(shared.order, shared.slots);
  const std::size_t resumed = static_cast<std::size_t>(std::count_if(
      shared.slots.begin(), shared.slots.end(), [](const Slot& s) { return s.resumed; }));

  const std::size_t threadCount = static_cast<std::size_t>(std::clamp(request.threads, 1, 1024));
  ExactCountResult result;
  result.countStarted = std::chrono::steady_clock::now();
  std::vector<std::thread> pool;
  for (std::size_t t = 0; t < threadCount; ++t) pool.emplace_back(work, std::ref(shared));

  auto lastCheckpoint = std::chrono::steady_clock::now();
  std::unique_lock<std::mutex> lock(shared.mutex);
  while (shared.finished + resumed < ours) {
    shared.changed.wait_for(lock, kWait);
    if (shared.stop.stopSignal() != 0) result.interrupted = true;
    const std::size_t finished = shared.finished;
    if (request.checkpoint &&
        std::chrono::steady_clock::now() - lastCheckpoint >= request.checkpointEvery) {
      const CountProgress sofar = progressOf(shared, request.resumeFrom);
      lock.unlock();
      request.checkpoint(sofar);
      lastCheckpoint = std::chrono::steady_clock::now();
      lock.lock();
    }
    lock.unlock();
    drawProgress(progress, shared, ours, resumed, finished);
    lock.lock();
    // Once stopped, the threads end after their subtree in hand: wait for them below.
    if (shared.stop.reached()) break;
  }
  lock.unlock();
  shared.stop.raise();
  for (std::thread& thread : pool) thread.join();
  clearProgressLine(progress);

  result.count = WideCount(countLimbsFor(problem));
  result.progress = progressOf(shared, request.resumeFrom);
  for (const auto& [index, count] : result.progress.done) result.count.add(count);
  for (const Slot& slot : shared.slots) {
    if (!slot.outcome && slot.from) result.count.add(slot.from->before);
    if (!slot.outcome) continue;
    if (!slot.done) result.count.add(slot.outcome->count);  // a lower bound of its subtree
    result.timedOut = result.timedOut || slot.outcome->timedOut;
    result.cache.add(slot.outcome->cache);
  }
  result.complete = result.progress.done.size() == ours;
  result.subtreeNodes.assign(prefixes.size(), 0);
  for (std::size_t i = 0; i < shared.slots.size(); ++i) {
    if (shared.slots[i].outcome) result.subtreeNodes[i] = shared.slots[i].outcome->nodes;
  }
  // The threads see a signal themselves, so it may have cut the last subtrees short after this
  // thread's last look.
  result.interrupted = result.interrupted || (!result.complete && shared.stop.stopSignal() != 0);
  result.limitReached = shared.limitReached.load() && !result.complete;
  if (!result.complete) result.sample = sampleOf(shared, result.progress);
  if (!result.complete && shared.stop.pastDeadline()) result.timedOut = true;
  result.noProgress = !result.complete && shared.finished == 0;
  if (request.orders && result.complete && !request.resumeFrom) {
    result.seenOrders = ordersOf(shared);
  }
  result.nodes = shared.nodes.load();
  result.cacheBytes = shared.cache.bytes();
  if (request.checkpoint) request.checkpoint(result.progress);
  return result;
}

}  // namespace jobshop
