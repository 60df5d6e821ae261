// Average linkage on sums rather than averages: the sum of the distances between two clusters is
// an integer that a merge only adds to, so equal averages compare equal and the tie rule holds
// exactly, which running averages in floating point would not promise.
#include "analysis/average_linkage.h"

#include <cstdint>
#include <optional>

namespace jobshop {

namespace {

class Clustering {
 public:
  explicit Clustering(const std::vector<std::vector<int>>& distances)
      : count_(distances.size()),
        sums_(count_ * count_, 0),
        sizes_(count_, 1),
        members_(count_),
        active_(count_, true),
        partner_(count_) {
    for (std::size_t i = 0; i < count_; ++i) {
      members_[i] = {i};
      for (std::size_t j = i + 1; j < count_; ++j) {
        sums_[i * count_ + j] = distances[i][j];
        sums_[j * count_ + i] = distances[i][j];
      }
    }
    for (std::size_t i = 0; i < count_; ++i) partner_[i] = nearestAbove(i);
  }

  std::vector<std::size_t> order() {
    for (std::size_t merges = 1; merges < count_; ++merges) {
      std::optional<std::size_t> first;
      for (std::size_t i = 0; i < count_; ++i) {
        if (active_[i] && partner_[i] &&
            (!first || closer(i, *partner_[i], *first, *partner_[*first])))
          first = i;
      }
      merge(*first, *partner_[*first]);
    }
    return count_ == 0 ? std::vector<std::size_t>{} : members_[0];
  }

 private:
  std::int64_t sum(std::size_t i, std::size_t j) const { return sums_[i * count_ + j]; }

  // Whether the average between clusters i and j is below that between k and l: sum(i, j) /
  // (|i| |j|) < sum(k, l) / (|k| |l|), multiplied out.
  bool closer(std::size_t i, std::size_t j, std::size_t k, std::size_t l) const {
    return sum(i, j) * (sizes_[k] * sizes_[l]) < sum(k, l) * (sizes_[i] * sizes_[j]);
  }

  // The closest active cluster after i, the lowest one among equals.
  std::optional<std::size_t> nearestAbove(std::size_t i) const {
    std::optional<std::size_t> best;
    for (std::size_t j = i + 1; j < count_; ++j) {
      if (active_[j] && (!best || closer(i, j, i, *best))) best = j;
    }
    return best;
  }

  // Cluster b joins cluster a (a < b), which keeps its place and lists its own members first.
  void merge(std::size_t a, std::size_t b) {
    active_[b] = false;
    sizes_[a] += sizes_[b];
    members_[a].insert(members_[a].end(), members_[b].begin(), members_[b].end());
    for (std::size_t k = 0; k < count_; ++k) {
      if (!active_[k] || k == a) continue;
      sums_[a * count_ + k] += sum(b, k);
      sums_[k * count_ + a] = sums_[a * count_ + k];
    }
    partner_[a] = nearestAbove(a);
    // Any other partner stays: the merged cluster's average to i lies between those of its two
    // parts, and neither was closer than i's partner, nor equal to it with a lower number.
    for (std::size_t i = 0; i < b; ++i) {
      if (active_[i] && i != a && (partner_[i] == a || partner_[i] == b))
        partner_[i] = nearestAbove(i);
    }
  }

  std::size_t count_;
  std::vector<std::int64_t> sums_;  // row-major, count_ x count_, symmetric
  std::vector<std::int64_t> sizes_;
  std::vector<std::vector<std::size_t>> members_;
  std::vector<bool> active_;
  // Per active cluster, the closest active cluster after it (none for the last).
  std::vector<std::optional<std::size_t>> partner_;
};

}  // namespace

std::vector<std::size_t> averageLinkageOrder(const std::vector<std::vector<int>>& distances) {
  return Clustering(distances).order();
}

}  // namespace jobshop
