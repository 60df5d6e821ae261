// Ranking both samples together, U from the first sample's rank sum, and the normal tail.
#include "analysis/mann_whitney.h"

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <cmath>
#include <utility>

namespace jobshop {

namespace {

struct RankSums {
  double first = 0;  // rank sum of the first sample
  double ties = 0;   // sum of t^3 - t over the groups of t tied values
};

RankSums rankSums(const std::vector<double>& first, const std::vector<double>& second) {
  std::vector<std::pair<double, bool>> all;  // value, from the first sample
  all.reserve(first.size() + second.size());
  for (double value : first) all.emplace_back(value, true);
  for (double value : second) all.emplace_back(value, false);
  std::sort(all.begin(), all.end());
  RankSums sums;
  for (std::size_t begin = 0; begin < all.size();) {
    std::size_t end = begin;
    while (end < all.size() && all[end].first == all[begin].first) ++end;
    // Ranks begin+1 .. end shared by the group: each gets their mean.
    const double midRank = (static_cast<double>(begin + 1) + static_cast<double>(end)) / 2;
    for (std::size_t k = begin; k < end; ++k)
      if (all[k].second) sums.first += midRank;
    const double t = static_cast<double>(end - begin);
    sums.ties += t * t * t - t;
    begin = end;
  }
  return sums;
}

}  // namespace

std::optional<MannWhitneyResult> mannWhitney(const std::vector<double>& first,
                                             const std::vector<double>& second) {
  if (first.empty() || second.empty()) return std::nullopt;
  const double n1 = static_cast<double>(first.size());
  const double n2 = static_cast<double>(second.size());
  const double n = n1 + n2;
  const RankSums sums = rankSums(first, second);
  MannWhitneyResult result;
  result.u = sums.first - n1 * (n1 + 1) / 2;
  result.probabilityOfSuperiority = result.u / (n1 * n2);
  const double variance = n1 * n2 / 12 * ((n + 1) - sums.ties / (n * (n - 1)));
  if (variance <= 0) return result;  // every value tied: no evidence either way
  // U moves in steps of 1/2, so |U - mean| is 0 or at least 1/2 and the correction never turns
  // the difference around.
  const double distance = std::max(std::abs(result.u - n1 * n2 / 2) - 0.5, 0.0);
  const double z = distance / std::sqrt(variance);
  result.p = std::min(1.0, 2 * boost::math::cdf(boost::math::complement(
                                   boost::math::normal_distribution<double>(), z)));
  return result;
}

}  // namespace jobshop
