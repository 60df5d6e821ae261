// The search's state, its one step (append a job's next operation to its machine), the bounds
// that cut a node, and the iterative depth-first walk.
#include "exact/schedule_search.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstddef>

namespace {

constexpr std::int64_t kCheckInterval = 4096;
constexpr int kUnbounded = std::numeric_limits<int>::max();

std::uint64_t bit(int job) { return std::uint64_t{1} << job; }
std::size_t at(int index) { return static_cast<std::size_t>(index); }

struct Undo {
  int job = 0;
  int machine = 0;
  int jobEnd = 0;
  int machineEnd = 0;
  int lastStart = 0;
  std::size_t logSize = 0;
};

struct Level {
  int nextJob = 0;
  Undo undo;
};

struct ForbiddenChange {
  int machine = 0;
  std::uint64_t before = 0;
};

struct Walk {
  const SearchProblem& problem;
  const SearchLimits& limits;
  int jobs = 0;
  int machines = 0;
  int length = 0;
  int bound = 0;
  int depth = 0;
  // Start of the operation appended last. Starts never decrease along a list (below), so no
  // operation still to come starts earlier.
  int lastStart = 0;
  std::vector<int> jobNext, jobEnd, machineEnd, machineCount;
  // Per machine, the ready jobs that may not be the next appended to it: each was ready, and
  // numbered below the job appended, at some step since the machine last took an operation. Had
  // one of them come next there, the schedule would be reached through the list that appends it
  // at that earlier step instead.
  std::vector<std::uint64_t> forbidden;
  std::vector<ForbiddenChange> log;      // undoes the forbidden sets step by step
  std::vector<std::uint64_t> remaining;  // per machine, the jobs not yet on it
  std::vector<int> sequences;            // machine-major, jobs from 1
  std::vector<int> minHead;
  // Of the operations not yet appended, per machine: their total time, least tail and two least
  // times (the child test's view of the node, refreshed whenever the walk returns to it).
  std::vector<int> load, minTail, leastTime, secondTime;
  std::vector<int> head;  // per operation, filled by withinBound for the unplaced ones
  std::vector<int> order, left;
  std::vector<Level> levels;
  SearchOutcome outcome;
  bool halted = false;
  std::int64_t sinceCheck = 0;
  std::int64_t nodesReported = 0;
  std::int64_t foundReported = 0;

  Walk(const SearchProblem& p, const SearchLimits& l) : problem(p), limits(l) {
    jobs = p.jobs;
    machines = p.machines;
    length = jobs * machines;
    bound = l.bound;
    jobNext.assign(at(jobs), 0);
    jobEnd.assign(at(jobs), 0);
    machineEnd.assign(at(machines), 0);
    machineCount.assign(at(machines), 0);
    forbidden.assign(at(machines), 0);
    const std::uint64_t all = jobs == 64 ? ~std::uint64_t{0} : bit(jobs) - 1;
    remaining.assign(at(machines), all);
    sequences.assign(at(length), 0);
    minHead.resize(at(machines));
    load.resize(at(machines));
    minTail.resize(at(machines));
    leastTime.resize(at(machines));
    secondTime.resize(at(machines));
    head.resize(at(length));
    order.reserve(at(jobs));
    left.resize(at(jobs));
    levels.resize(at(length) + 1);
  }
};

int opOf(const Walk& w, int job) { return job * w.machines + w.jobNext[at(job)]; }

bool canAppend(const Walk& w, int job) {
  if (w.jobNext[at(job)] == w.machines) return false;
  const int m = w.problem.machine[at(opOf(w, job))];
  return (w.forbidden[at(m)] & bit(job)) == 0;
}

int earliestStart(const Walk& w, int job, int m) {
  return std::max(w.jobEnd[at(job)], w.machineEnd[at(m)]);
}

void summarise(Walk& w) {
  const SearchProblem& p = w.problem;
  for (int m = 0; m < w.machines; ++m) {
    int load = 0;
    int minTail = kUnbounded;
    int least = kUnbounded;
    int second = kUnbounded;
    for (std::uint64_t left = w.remaining[at(m)]; left != 0; left &= left - 1) {
      const std::size_t op = at(p.opOnMachine[at(std::countr_zero(left) * w.machines + m)]);
      const int d = p.duration[op];
      load += d;
      minTail = std::min(minTail, p.tail[op]);
      if (d < least) {
        second = least;
        least = d;
      } else {
        second = std::min(second, d);
      }
    }
    w.load[at(m)] = load;
    w.minTail[at(m)] = minTail;
    w.leastTime[at(m)] = least;
    w.secondTime[at(m)] = second;
  }
}

// A test of a child against the node's summary, far cheaper than withinBound and catching most of
// the children that fail: once the child starts at S nothing starts earlier, every operation that
// it forbids waits for another one on its machine, and every machine still has its load to do.
bool childMayFit(const Walk& w, int job) {
  const SearchProblem& p = w.problem;
  const int op = opOf(w, job);
  const int m = p.machine[at(op)];
  const int start = earliestStart(w, job, m);
  const int end = start + p.duration[at(op)];
  if (end + p.tail[at(op)] > w.bound) return false;
  for (int i = 0; i < w.jobs; ++i) {
    if (i == job || w.jobNext[at(i)] == w.machines) continue;
    const int x = opOf(w, i);
    const int mx = p.machine[at(x)];
    const int rest = p.duration[at(x)] + p.tail[at(x)];
    int from = start;
    if (mx == m) {
      from = end;
    } else {
      const int otherStart = earliestStart(w, i, mx);
      if ((w.forbidden[at(mx)] & bit(i)) != 0 || otherStart < start ||
          (otherStart == start && i < job)) {
        const int other =
            w.leastTime[at(mx)] == p.duration[at(x)] ? w.secondTime[at(mx)] : w.leastTime[at(mx)];
        if (other == kUnbounded) return false;
        from = start + other;
      }
      from = std::max(from, otherStart);
    }
    if (from + rest > w.bound) return false;
  }
  for (int k = 0; k < w.machines; ++k) {
    const std::uint64_t left = k == m ? w.remaining[at(k)] & ~bit(job) : w.remaining[at(k)];
    if (left == 0) continue;
    const int from = k == m ? end : start;
    const int load = k == m ? w.load[at(k)] - p.duration[at(op)] : w.load[at(k)];
    if (from + load + w.minTail[at(k)] > w.bound) return false;
  }
  return true;
}

void setForbidden(Walk& w, int m, std::uint64_t value) {
  w.log.push_back({m, w.forbidden[at(m)]});
  w.forbidden[at(m)] = value;
}

// The list that reaches a schedule appends, at every step, the operation that could come next in
// it with the earliest start, the lowest job among equal starts. So every ready operation ahead of
// the appended one in that order, on another machine, must not be the next on its machine.
Undo append(Walk& w, int job) {
  const int op = opOf(w, job);
  const int m = w.problem.machine[at(op)];
  Undo undo{job, m, w.jobEnd[at(job)], w.machineEnd[at(m)], w.lastStart, w.log.size()};
  if (w.forbidden[at(m)] != 0) setForbidden(w, m, 0);
  const int start = std::max(undo.jobEnd, undo.machineEnd);
  for (int i = 0; i < w.jobs; ++i) {
    if (i == job || w.jobNext[at(i)] == w.machines) continue;
    const int other = w.problem.machine[at(opOf(w, i))];
    if (other == m || (w.forbidden[at(other)] & bit(i)) != 0) continue;
    const int otherStart = earliestStart(w, i, other);
    if (otherStart < start || (otherStart == start && i < job)) {
      setForbidden(w, other, w.forbidden[at(other)] | bit(i));
    }
  }
  w.lastStart = start;
  const int end = start + w.problem.duration[at(op)];
  w.jobEnd[at(job)] = end;
  w.machineEnd[at(m)] = end;
  w.sequences[at(m * w.jobs + w.machineCount[at(m)])] = job + 1;
  ++w.machineCount[at(m)];
  ++w.jobNext[at(job)];
  w.remaining[at(m)] &= ~bit(job);
  ++w.depth;
  return undo;
}

void undoAppend(Walk& w, const Undo& undo) {
  --w.depth;
  w.remaining[at(undo.machine)] |= bit(undo.job);
  --w.jobNext[at(undo.job)];
  --w.machineCount[at(undo.machine)];
  w.jobEnd[at(undo.job)] = undo.jobEnd;
  w.machineEnd[at(undo.machine)] = undo.machineEnd;
  w.lastStart = undo.lastStart;
  while (w.log.size() > undo.logSize) {
    w.forbidden[at(w.log.back().machine)] = w.log.back().before;
    w.log.pop_back();
  }
}

// The makespan of the best preemptive order of machine m's remaining operations, each released at
// its head and followed by its tail: no order of them on m does better.
int preemptiveBound(Walk& w, int m) {
  const SearchProblem& p = w.problem;
  std::vector<int>& order = w.order;
  order.clear();
  for (std::uint64_t left = w.remaining[at(m)]; left != 0; left &= left - 1) {
    const int j = std::countr_zero(left);
    order.push_back(p.opOnMachine[at(j * w.machines + m)]);
  }
  std::sort(order.begin(), order.end(),
            [&](int a, int b) { return w.head[at(a)] < w.head[at(b)]; });
  const int n = static_cast<int>(order.size());
  for (int i = 0; i < n; ++i) w.left[at(i)] = p.duration[at(order[at(i)])];
  int t = 0;
  int released = 0;
  int done = 0;
  int bound = 0;
  while (done < n) {
    if (released < n && t < w.head[at(order[at(released)])]) {
      bool idle = true;
      for (int i = 0; i < released && idle; ++i) idle = w.left[at(i)] < 0;
      if (idle) t = w.head[at(order[at(released)])];
    }
    while (released < n && w.head[at(order[at(released)])] <= t) ++released;
    int pick = -1;
    for (int i = 0; i < released; ++i) {
      if (w.left[at(i)] < 0) continue;
      if (pick < 0 || p.tail[at(order[at(i)])] > p.tail[at(order[at(pick)])]) pick = i;
    }
    const int next = released < n ? w.head[at(order[at(released)])] : kUnbounded;
    const int run = std::min(w.left[at(pick)], next - t);
    t += run;
    w.left[at(pick)] -= run;
    if (w.left[at(pick)] == 0) {
      w.left[at(pick)] = -1;
      ++done;
      bound = std::max(bound, t + p.tail[at(order[at(pick)])]);
    }
  }
  return bound;
}

// Earliest starts of job j's operations from its k-th on, each waiting for its job and its
// machine's current end, the first not before `from`; returns the job's earliest end.
int chainHeads(Walk& w, int j, int k, int from) {
  const SearchProblem& p = w.problem;
  int t = from;
  for (; k < w.machines; ++k) {
    const std::size_t op = at(j * w.machines + k);
    t = std::max(t, w.machineEnd[at(p.machine[op])]);
    w.head[op] = t;
    t += p.duration[op];
  }
  return t;
}

// Two operations a, b on one machine: when b cannot follow a within the bound, b comes first and
// a starts no earlier than b's earliest end; when neither can follow the other, nothing fits.
// Raised starts carry on along a's job. False when nothing fits.
bool orderPairs(Walk& w, bool& raised) {
  const SearchProblem& p = w.problem;
  for (int m = 0; m < w.machines; ++m) {
    for (std::uint64_t as = w.remaining[at(m)]; as != 0; as &= as - 1) {
      const int ja = std::countr_zero(as);
      const std::size_t a = at(p.opOnMachine[at(ja * w.machines + m)]);
      for (std::uint64_t bs = as & (as - 1); bs != 0; bs &= bs - 1) {
        const int jb = std::countr_zero(bs);
        const std::size_t b = at(p.opOnMachine[at(jb * w.machines + m)]);
        const bool aThenB =
            std::max(w.head[a] + p.duration[a], w.head[b]) + p.duration[b] + p.tail[b] <= w.bound;
        const bool bThenA =
            std::max(w.head[b] + p.duration[b], w.head[a]) + p.duration[a] + p.tail[a] <= w.bound;
        if (!aThenB && !bThenA) return false;
        const std::size_t later = aThenB ? b : a;
        const std::size_t first = aThenB ? a : b;
        if (aThenB == bThenA || w.head[later] >= w.head[first] + p.duration[first]) continue;
        const int job = aThenB ? jb : ja;
        const int k = static_cast<int>(later) - job * w.machines;
        if (chainHeads(w, job, k, w.head[first] + p.duration[first]) > w.bound) return false;
        raised = true;
      }
    }
  }
  return true;
}

// False when no completion of the node can be within the bound: a machine whose remaining jobs
// are all forbidden there, a job that cannot finish in time, or a machine whose remaining
// operations cannot all fit even if it could interrupt them. An operation forbidden on its machine
// waits at least for the earliest end of another one there.
bool withinBound(Walk& w) {
  const SearchProblem& p = w.problem;
  for (int m = 0; m < w.machines; ++m) {
    const std::uint64_t left = w.remaining[at(m)];
    if (left != 0 && (left & ~w.forbidden[at(m)]) == 0) return false;
    w.minHead[at(m)] = kUnbounded;  // the earliest end of an allowed next operation
  }
  for (int j = 0; j < w.jobs; ++j) {
    const int k = w.jobNext[at(j)];
    if (k == w.machines) continue;
    if (chainHeads(w, j, k, std::max(w.jobEnd[at(j)], w.lastStart)) > w.bound) return false;
    for (int i = k; i < w.machines; ++i) {
      const std::size_t op = at(j * w.machines + i);
      const std::size_t m = at(p.machine[op]);
      if ((w.forbidden[m] & bit(j)) == 0)
        w.minHead[m] = std::min(w.minHead[m], w.head[op] + p.duration[op]);
    }
  }
  for (int j = 0; j < w.jobs; ++j) {
    const int k = w.jobNext[at(j)];
    if (k == w.machines) continue;
    const std::size_t op = at(j * w.machines + k);
    const std::size_t m = at(p.machine[op]);
    if ((w.forbidden[m] & bit(j)) == 0 || w.minHead[m] <= w.head[op]) continue;
    if (chainHeads(w, j, k, w.minHead[m]) > w.bound) return false;
  }
  for (int round = 0; round < 3; ++round) {
    bool raised = false;
    if (!orderPairs(w, raised)) return false;
    if (!raised) break;
  }
  for (int m = 0; m < w.machines; ++m) {
    if (w.remaining[at(m)] != 0 && preemptiveBound(w, m) > w.bound) return false;
  }
  return true;
}

void appendLine(const Walk& w, int makespan, std::string& text) {
  char number[16];
  auto put = [&](int value) {
    char* end = std::to_chars(number, number + sizeof number, value).ptr;
    *end++ = ' ';
    text.append(number, end);
  };
  for (int job : w.sequences) put(job);
  put(makespan);
  text += '\n';
}

void halt(Walk& w, bool timedOut) {
  w.halted = true;
  w.outcome.stopped = true;
  w.outcome.timedOut = w.outcome.timedOut || timedOut;
}

void reportProgress(Walk& w) {
  if (w.limits.nodesSoFar) w.limits.nodesSoFar->fetch_add(w.outcome.nodes - w.nodesReported);
  if (w.limits.foundSoFar) w.limits.foundSoFar->fetch_add(w.outcome.found - w.foundReported);
  w.nodesReported = w.outcome.nodes;
  w.foundReported = w.outcome.found;
}

void countNode(Walk& w) {
  ++w.outcome.nodes;
  if (++w.sinceCheck < kCheckInterval) return;
  w.sinceCheck = 0;
  reportProgress(w);
  if (w.limits.stop && w.limits.stop->load(std::memory_order_relaxed)) halt(w, false);
  if (w.limits.deadline && std::chrono::steady_clock::now() >= *w.limits.deadline) halt(w, true);
}

void record(Walk& w) {
  const int makespan = *std::max_element(w.machineEnd.begin(), w.machineEnd.end());
  ++w.outcome.found;
  if (w.limits.list) appendLine(w, makespan, w.outcome.listing);
  if (makespan < w.outcome.best) {
    w.outcome.best = makespan;
    w.outcome.bestSequences = w.sequences;
  }
  if (w.limits.tighten) w.bound = makespan - 1;
  if (w.outcome.found >= w.limits.maxFound) halt(w, false);
}

// Depth-first below the current node, children in job order.
void walkBelow(Walk& w) {
  countNode(w);
  if (w.depth == w.length) {
    record(w);
    return;
  }
  const int base = w.depth;
  w.levels[at(base)].nextJob = 0;
  while (!w.halted) {
    Level& level = w.levels[at(w.depth)];
    bool descended = false;
    summarise(w);
    while (level.nextJob < w.jobs && !w.halted) {
      const int job = level.nextJob++;
      if (!canAppend(w, job) || !childMayFit(w, job)) continue;
      level.undo = append(w, job);
      if (withinBound(w)) {
        countNode(w);
        if (w.depth < w.length) {
          w.levels[at(w.depth)].nextJob = 0;
          descended = true;
          break;
        }
        record(w);
      }
      undoAppend(w, level.undo);
    }
    if (descended) continue;
    if (w.depth == base) return;
    undoAppend(w, w.levels[at(w.depth - 1)].undo);
  }
}

// Replays prefix from the root; false when some step of it is not allowed.
bool replay(Walk& w, const SearchPrefix& prefix) {
  for (int job : prefix) {
    if (job < 0 || job >= w.jobs || !canAppend(w, job)) return false;
    w.levels[at(w.depth)].undo = append(w, job);
  }
  return true;
}

}  // namespace

SearchOutcome searchSubtree(const SearchProblem& problem, const SearchPrefix& prefix,
                            const SearchLimits& limits) {
  Walk w(problem, limits);
  if (replay(w, prefix) && withinBound(w)) walkBelow(w);
  reportProgress(w);
  return std::move(w.outcome);
}

std::vector<SearchPrefix> splitSearch(const SearchProblem& problem, int bound, int minSubtrees) {
  SearchLimits limits;
  limits.bound = bound;
  std::vector<SearchPrefix> level;
  {
    Walk root(problem, limits);
    if (withinBound(root)) level.push_back({});
  }
  const std::size_t wanted = static_cast<std::size_t>(std::max(minSubtrees, 1));
  const std::size_t length = static_cast<std::size_t>(problem.jobs * problem.machines);
  while (!level.empty() && level.size() < wanted && level.front().size() < length) {
    std::vector<SearchPrefix> next;
    for (const SearchPrefix& prefix : level) {
      Walk w(problem, limits);
      replay(w, prefix);
      summarise(w);
      for (int job = 0; job < w.jobs; ++job) {
        if (!canAppend(w, job) || !childMayFit(w, job)) continue;
        const Undo undo = append(w, job);
        if (withinBound(w)) {
          next.push_back(prefix);
          next.back().push_back(job);
        }
        undoAppend(w, undo);
      }
    }
    level = std::move(next);
  }
  return level;
}
