// Worker threads over the subtrees of a fixed split, and the calling thread passing their results
// on in tree order.
#include "exact/parallel_count.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace jobshop {

namespace {

// Many more subtrees than threads, so that a few large ones do not leave a thread idle, and the
// same number for any thread count.
constexpr int kSubtrees = 256;
constexpr auto kWait = std::chrono::milliseconds(250);

struct Slot {
  SearchOutcome outcome;
  bool done = false;
};

struct Shared {
  const SearchProblem& problem;
  const std::vector<SearchPrefix>& prefixes;
  SearchSettings settings;
  std::atomic<std::size_t> next{0};
  // The request's, with the found limit of the walks; raised here once the count is over.
  StopCondition stop;
  std::atomic<std::int64_t> found{0};
  std::atomic<std::int64_t> nodes{0};
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<Slot> slots;

  Shared(const SearchProblem& p, const std::vector<SearchPrefix>& s) : problem(p), prefixes(s) {
    slots.resize(s.size());
  }
};

void work(Shared& shared) {
  while (!shared.stop.stopRequested()) {
    const std::size_t i = shared.next.fetch_add(1);
    if (i >= shared.prefixes.size()) return;
    SearchOutcome outcome;
    if (shared.stop.pastDeadline()) {
      outcome.stopped = true;
      outcome.timedOut = true;
    } else {
      outcome = searchSubtree(shared.problem, shared.prefixes[i], shared.settings);
    }
    {
      const std::lock_guard<std::mutex> lock(shared.mutex);
      shared.slots[i].outcome = std::move(outcome);
      shared.slots[i].done = true;
    }
    shared.changed.notify_one();
  }
}

void drawProgress(ProgressLine& line, const Shared& shared, std::size_t flushed) {
  if (!progressLineDue(line)) return;
  drawProgressLine(line, "found " + std::to_string(shared.found.load()) + " | nodes " +
                             std::to_string(shared.nodes.load()) + " | subtrees " +
                             std::to_string(flushed) + " of " +
                             std::to_string(shared.prefixes.size()) + " | " + elapsedText(line));
}

// The first `lines` lines of text.
std::size_t lengthOfLines(const std::string& text, std::int64_t lines) {
  std::size_t end = 0;
  for (std::int64_t k = 0; k < lines && end < text.size(); ++k) end = text.find('\n', end) + 1;
  return end;
}

}  // namespace

CountResult countSchedules(const SearchProblem& problem, const CountRequest& request,
                           ProgressLine& progress) {
  const std::vector<SearchPrefix> prefixes = splitSearch(problem, request.bound, kSubtrees);
  Shared shared(problem, prefixes);
  shared.stop = request.stop;
  // One more than the limit, so that reaching it tells whether more exist.
  if (request.limit) shared.stop.foundLimit = *request.limit + 1;
  shared.settings.bound = request.bound;
  shared.settings.list = request.listing != nullptr;
  shared.settings.stop = &shared.stop;
  shared.settings.foundSoFar = &shared.found;
  shared.settings.nodesSoFar = &shared.nodes;

  const std::size_t threadCount =
      std::clamp<std::size_t>(static_cast<std::size_t>(std::max(request.threads, 1)), 1,
                              std::max<std::size_t>(prefixes.size(), 1));
  std::vector<std::thread> pool;
  for (std::size_t t = 0; t < threadCount; ++t) pool.emplace_back(work, std::ref(shared));

  CountResult result;
  const std::int64_t limit = request.limit.value_or(std::numeric_limits<std::int64_t>::max());
  std::size_t flushed = 0;
  std::unique_lock<std::mutex> lock(shared.mutex);
  while (flushed < prefixes.size()) {
    if (!shared.slots[flushed].done) {
      shared.changed.wait_for(lock, kWait);
      lock.unlock();
      drawProgress(progress, shared, flushed);
      lock.lock();
      continue;
    }
    SearchOutcome outcome = std::move(shared.slots[flushed].outcome);
    shared.slots[flushed].outcome = SearchOutcome{};
    ++flushed;
    lock.unlock();
    const std::int64_t taken = std::min(outcome.found, limit - result.count);
    if (request.listing) {
      request.listing->write(outcome.listing.data(),
                             static_cast<std::streamsize>(lengthOfLines(outcome.listing, taken)));
    }
    result.count += taken;
    result.timedOut = result.timedOut || outcome.timedOut;
    // Stopped short of the found limit: a signal cut the subtree, which is then a lower bound.
    if (outcome.stopped && outcome.found < shared.stop.foundLimit) result.complete = false;
    lock.lock();
    if (outcome.found > taken) {
      result.complete = false;
      break;
    }
  }
  shared.stop.raise();
  lock.unlock();
  for (std::thread& thread : pool) thread.join();
  clearProgressLine(progress);
  result.nodes = shared.nodes.load();
  if (result.timedOut) result.complete = false;
  return result;
}

}  // namespace jobshop
