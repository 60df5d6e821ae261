// The child test: the appended operation and every operation it forbids or delays, and every
// machine's load, against the parent's heads and tails.
#include "exact/child_test.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace jobshop {

namespace {

constexpr int kUnbounded = std::numeric_limits<int>::max();

std::size_t at(int index) { return static_cast<std::size_t>(index); }

}  // namespace

bool childMayFit(const SearchNode& n, const NodeBounds& b, int job) {
  const SearchProblem& p = *n.problem;
  const int op = nextOp(n, job);
  const int m = p.machine[at(op)];
  const int start = earliestStart(n, job);
  const int end = start + p.duration[at(op)];
  if (start < b.head[at(op)] || end + b.tail[at(op)] > n.bound) return false;
  for (int i = 0; i < n.jobs; ++i) {
    if (i == job || n.jobNext[at(i)] == n.machines) continue;
    const int x = nextOp(n, i);
    const int mx = p.machine[at(x)];
    const int rest = p.duration[at(x)] + b.tail[at(x)];
    int from = start;
    if (mx == m) {
      from = end;
    } else {
      const int otherStart = earliestStart(n, i);
      if ((n.forbidden[at(mx)] & jobBit(i)) != 0 || otherStart < start ||
          (otherStart == start && i < job)) {
        const int other =
            b.leastTime[at(mx)] == p.duration[at(x)] ? b.secondTime[at(mx)] : b.leastTime[at(mx)];
        if (other == kUnbounded) return false;
        from = start + other;
      }
      from = std::max(from, otherStart);
    }
    from = std::max(from, b.head[at(x)]);
    if (from + rest > n.bound) return false;
  }
  const int others = restBesides(b, m);
  if (others != kNoRest && start + others > n.bound) return false;
  const std::uint64_t left = n.remaining[at(m)] & ~jobBit(job);
  return left == 0 || end + b.load[at(m)] - p.duration[at(op)] + b.minTail[at(m)] <= n.bound;
}

}  // namespace jobshop
