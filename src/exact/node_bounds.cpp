// Propagation at a node of the exact search: heads along the routes from the machines' ends, the
// wait of forbidden operations, pairs on a machine that fit one way only, edge finding on heads
// and on tails, and the routes again, until a round raises nothing.
#include "exact/node_bounds.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "exact/edge_finding.h"

namespace jobshop {

namespace {

constexpr int kUnbounded = std::numeric_limits<int>::max();
// Rounds are cheap and rarely more than three are needed; the cap only bounds the worst case.
constexpr int kMaxRounds = 16;

std::size_t at(int index) { return static_cast<std::size_t>(index); }

int opOn(const SearchNode& n, int job, int m) {
  return n.problem->opOnMachine[at(job * n.machines + m)];
}

// Heads from each job's end and the machines' ends, never before the last start; the tails of
// the routes. False when a job cannot end in time.
bool startChains(const SearchNode& n, NodeBounds& b) {
  const SearchProblem& p = *n.problem;
  for (int j = 0; j < n.jobs; ++j) {
    int t = std::max(n.jobEnd[at(j)], n.lastStart);
    for (int k = n.jobNext[at(j)]; k < n.machines; ++k) {
      const std::size_t op = at(j * n.machines + k);
      t = std::max(t, n.machineEnd[at(p.machine[op])]);
      b.head[op] = t;
      b.tail[op] = p.tail[op];
      t += p.duration[op];
    }
    if (t > n.bound) return false;
  }
  return true;
}

// A forbidden operation is not the next on its machine, so it waits for the earliest end of an
// allowed one there.
void waitForAllowed(const SearchNode& n, NodeBounds& b, bool& raised) {
  const SearchProblem& p = *n.problem;
  for (int m = 0; m < n.machines; ++m) {
    const std::uint64_t waiting = n.forbidden[at(m)] & n.remaining[at(m)];
    if (waiting == 0) continue;
    int firstEnd = kUnbounded;
    for (std::uint64_t s = n.remaining[at(m)] & ~waiting; s != 0; s &= s - 1) {
      const std::size_t op = at(opOn(n, std::countr_zero(s), m));
      firstEnd = std::min(firstEnd, b.head[op] + p.duration[op]);
    }
    for (std::uint64_t s = waiting; s != 0; s &= s - 1) {
      const std::size_t op = at(opOn(n, std::countr_zero(s), m));
      if (b.head[op] < firstEnd) {
        b.head[op] = firstEnd;
        b.changed[at(m)] = 1;
        raised = true;
      }
    }
  }
}

// Two operations on a machine of which one cannot follow the other within the bound: the other
// comes second, so its head is at least the first's end and the first's tail at least its time
// and tail. False when neither order fits.
bool orderPairs(const SearchNode& n, NodeBounds& b, bool& raised) {
  const SearchProblem& p = *n.problem;
  for (int m = 0; m < n.machines; ++m) {
    if (!b.active[at(m)]) continue;
    for (std::uint64_t as = n.remaining[at(m)]; as != 0; as &= as - 1) {
      const std::size_t a = at(opOn(n, std::countr_zero(as), m));
      for (std::uint64_t bs = as & (as - 1); bs != 0; bs &= bs - 1) {
        const std::size_t c = at(opOn(n, std::countr_zero(bs), m));
        const int pa = p.duration[a];
        const int pc = p.duration[c];
        const bool aThenC = std::max(b.head[a] + pa, b.head[c]) + pc + b.tail[c] <= n.bound;
        const bool cThenA = std::max(b.head[c] + pc, b.head[a]) + pa + b.tail[a] <= n.bound;
        if (!aThenC && !cThenA) return false;
        if (aThenC == cThenA) continue;
        const std::size_t first = aThenC ? a : c;
        const std::size_t second = aThenC ? c : a;
        const int end = b.head[first] + p.duration[first];
        const int after = p.duration[second] + b.tail[second];
        if (b.head[second] < end) {
          b.head[second] = end;
          b.changed[at(m)] = 1;
          raised = true;
        }
        if (b.tail[first] < after) {
          b.tail[first] = after;
          b.changed[at(m)] = 1;
          raised = true;
        }
      }
    }
  }
  return true;
}

bool findEdges(const SearchNode& n, NodeBounds& b, bool& raised) {
  const SearchProblem& p = *n.problem;
  MachineOps ops;
  std::array<int, kMaxSearchJobs> index;
  for (int m = 0; m < n.machines; ++m) {
    if (!b.active[at(m)]) continue;
    int count = 0;
    int load = 0;
    int lastHead = 0;
    int longestTail = 0;
    for (std::uint64_t s = n.remaining[at(m)]; s != 0; s &= s - 1) {
      const int op = opOn(n, std::countr_zero(s), m);
      const std::size_t k = at(count++);
      index[k] = op;
      ops.duration[k] = p.duration[at(op)];
      ops.head[k] = b.head[at(op)];
      ops.tail[k] = b.tail[at(op)];
      load += ops.duration[k];
      lastHead = std::max(lastHead, ops.head[k]);
      longestTail = std::max(longestTail, ops.tail[k]);
    }
    // Two operations are the pair rule's, which is stronger there. And when even the latest head
    // with all the load and the longest tail fits, no set overloads and no rule fires.
    if (count < 3 || lastHead + load + longestTail <= n.bound) continue;
    bool moved = false;
    if (!edgeFindHeads(ops.duration, ops.head, ops.tail, count, n.bound, moved)) return false;
    if (!edgeFindHeads(ops.duration, ops.tail, ops.head, count, n.bound, moved)) return false;
    if (!moved) continue;
    b.changed[at(m)] = 1;
    raised = true;
    for (std::size_t k = 0; k < at(count); ++k) {
      b.head[at(index[k])] = ops.head[k];
      b.tail[at(index[k])] = ops.tail[k];
    }
  }
  return true;
}

// Raised heads carried forward along each route and raised tails backward. False when an
// operation then cannot fit between its head and tail.
bool followRoutes(const SearchNode& n, NodeBounds& b) {
  const SearchProblem& p = *n.problem;
  for (int j = 0; j < n.jobs; ++j) {
    const int first = j * n.machines + n.jobNext[at(j)];
    const int last = j * n.machines + n.machines - 1;
    for (int op = first + 1; op <= last; ++op) {
      const int head = b.head[at(op - 1)] + p.duration[at(op - 1)];
      if (b.head[at(op)] >= head) continue;
      b.head[at(op)] = head;
      b.changed[at(p.machine[at(op)])] = 1;
    }
    for (int op = last - 1; op >= first; --op) {
      const int tail = b.tail[at(op + 1)] + p.duration[at(op + 1)];
      if (b.tail[at(op)] >= tail) continue;
      b.tail[at(op)] = tail;
      b.changed[at(p.machine[at(op)])] = 1;
    }
    for (int op = first; op <= last; ++op) {
      if (b.head[at(op)] + p.duration[at(op)] + b.tail[at(op)] > n.bound) return false;
    }
  }
  return true;
}

void noteRest(NodeBounds& b, int m, int rest) {
  if (b.busiest == kNoMachine || rest > b.busiestRest) {
    b.otherRest = b.busiestRest;
    b.busiest = m;
    b.busiestRest = rest;
  } else {
    b.otherRest = std::max(b.otherRest, rest);
  }
}

void summarise(const SearchNode& n, NodeBounds& b) {
  const SearchProblem& p = *n.problem;
  b.busiest = kNoMachine;
  b.busiestRest = kNoRest;
  b.otherRest = kNoRest;
  for (int m = 0; m < n.machines; ++m) {
    int load = 0;
    int minTail = kUnbounded;
    int least = kUnbounded;
    int second = kUnbounded;
    for (std::uint64_t s = n.remaining[at(m)]; s != 0; s &= s - 1) {
      const std::size_t op = at(opOn(n, std::countr_zero(s), m));
      const int d = p.duration[op];
      load += d;
      minTail = std::min(minTail, b.tail[op]);
      if (d < least) {
        second = least;
        least = d;
      } else {
        second = std::min(second, d);
      }
    }
    b.load[at(m)] = load;
    b.minTail[at(m)] = minTail;
    b.leastTime[at(m)] = least;
    b.secondTime[at(m)] = second;
    if (n.remaining[at(m)] != 0) noteRest(b, m, load + minTail);
  }
}

int loneJobOf(const SearchNode& n) {
  int lone = -1;
  for (int j = 0; j < n.jobs; ++j) {
    if (n.jobNext[at(j)] == n.machines) continue;
    if (lone >= 0) return -1;
    lone = j;
  }
  return lone;
}

}  // namespace

bool boundNode(const SearchNode& n, NodeBounds& b) {
  if (b.head.empty()) {
    b.head.resize(at(n.length));
    b.tail.resize(at(n.length));
    b.load.resize(at(n.machines));
    b.minTail.resize(at(n.machines));
    b.leastTime.resize(at(n.machines));
    b.secondTime.resize(at(n.machines));
    b.active.resize(at(n.machines));
    b.changed.resize(at(n.machines));
  }
  for (int m = 0; m < n.machines; ++m) {
    const std::uint64_t left = n.remaining[at(m)];
    if (left != 0 && (left & ~n.forbidden[at(m)]) == 0) return false;
  }
  if (!startChains(n, b)) return false;
  std::fill(b.changed.begin(), b.changed.end(), 1);
  for (int round = 0; round < kMaxRounds; ++round) {
    // A machine's rules give nothing new unless one of its operations rose since they last ran.
    b.active.swap(b.changed);
    std::fill(b.changed.begin(), b.changed.end(), 0);
    bool raised = false;
    waitForAllowed(n, b, raised);
    if (!orderPairs(n, b, raised) || !findEdges(n, b, raised)) return false;
    if (!raised) break;
    if (!followRoutes(n, b)) return false;
  }
  summarise(n, b);
  b.loneJob = loneJobOf(n);
  return true;
}

int restBesides(const NodeBounds& b, int machine) {
  return b.busiest == machine ? b.otherRest : b.busiestRest;
}

// The child test held the lone job's start at its operation's head, so every head after it stays,
// no machine holds two operations for a rule to raise, and no order is forbidden with no other job
// to take its turn: startChains and summarise would give the parent's values again. The rest of a
// machine is its one operation's time and tail, the job's work from there on, which never grows
// along the route, so the worst machines are those of the next two operations.
void boundLoneJobChild(const SearchNode& child, NodeBounds& b) {
  const SearchProblem& p = *child.problem;
  const int job = b.loneJob;
  const int next = child.jobNext[at(job)];
  const int first = job * child.machines;
  const int taken = p.machine[at(first + next - 1)];
  b.load[at(taken)] = 0;
  b.minTail[at(taken)] = kUnbounded;
  b.leastTime[at(taken)] = kUnbounded;
  b.secondTime[at(taken)] = kUnbounded;
  b.busiest = kNoMachine;
  b.busiestRest = kNoRest;
  b.otherRest = kNoRest;
  for (int k = next; k < std::min(next + 2, child.machines); ++k) {
    const std::size_t op = at(first + k);
    noteRest(b, p.machine[op], p.duration[op] + p.tail[op]);
  }
  if (next == child.machines) b.loneJob = -1;
}

}  // namespace jobshop
