// Edge finding over one machine in quadratic time: for each latest end d, the operations allowed
// to end by d, swept by head from both sides.
#include "exact/edge_finding.h"

#include <algorithm>

namespace jobshop {

namespace {

// Below any sum of a head and durations, far enough from the int range not to overflow.
constexpr int kNone = -(1 << 29);

}  // namespace

bool edgeFindHeads(const std::array<int, kMaxSearchJobs>& duration,
                   std::array<int, kMaxSearchJobs>& head,
                   const std::array<int, kMaxSearchJobs>& tail, int count, int bound,
                   bool& raised) {
  const auto n = static_cast<std::size_t>(count);
  std::array<int, kMaxSearchJobs> byHead;
  std::array<int, kMaxSearchJobs> latestEnd;
  std::array<int, kMaxSearchJobs> ectFrom;  // [position]: earliest end of the set at or above it
  std::array<int, kMaxSearchJobs> newHead;
  for (std::size_t i = 0; i < n; ++i) {
    latestEnd[i] = bound - tail[i];
    newHead[i] = head[i];
    // Insertion by head: the machines hold few jobs.
    std::size_t k = i;
    while (k > 0 && head[static_cast<std::size_t>(byHead[k - 1])] > head[i]) {
      byHead[k] = byHead[k - 1];
      --k;
    }
    byHead[k] = static_cast<int>(i);
  }
  for (std::size_t k = 0; k < n; ++k) {
    const int d = latestEnd[k];
    // Omega(x): the operations with latest end <= d and head >= x. Its earliest end is the
    // largest head plus the work from that head on.
    int work = 0;
    int ect = kNone;
    for (std::size_t pos = n; pos-- > 0;) {
      const auto i = static_cast<std::size_t>(byHead[pos]);
      if (latestEnd[i] <= d) {
        work += duration[i];
        ect = std::max(ect, head[i] + work);
        if (ect > d) return false;
      }
      ectFrom[pos] = ect;
    }
    // From the lowest head up: work is then the work of Omega at or above the current head, and
    // best the largest head plus work of an Omega that starts below it.
    int best = kNone;
    for (std::size_t pos = 0; pos < n; ++pos) {
      const auto i = static_cast<std::size_t>(byHead[pos]);
      if (latestEnd[i] <= d) {
        best = std::max(best, head[i] + work);
        work -= duration[i];
        continue;
      }
      // i with the Omega above its head, or with one starting lower, cannot end by d unless i
      // comes after all of it.
      if (head[i] + work + duration[i] > d) newHead[i] = std::max(newHead[i], ectFrom[pos]);
      if (best + duration[i] > d) newHead[i] = std::max(newHead[i], ect);
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (newHead[i] > head[i]) {
      head[i] = newHead[i];
      raised = true;
    }
  }
  return true;
}

}  // namespace jobshop
