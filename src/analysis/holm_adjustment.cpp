// Sorting the present p-values and stepping down through them.
#include "analysis/holm_adjustment.h"

#include <algorithm>

namespace jobshop {

std::vector<std::optional<double>> holmAdjusted(const std::vector<std::optional<double>>& p) {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < p.size(); ++i)
    if (p[i]) order.push_back(i);
  // Stable, so that equal p-values keep their order and the result does not depend on the sort.
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return *p[a] < *p[b]; });
  std::vector<std::optional<double>> adjusted(p.size());
  const double family = static_cast<double>(order.size());
  double running = 0;
  for (std::size_t rank = 0; rank < order.size(); ++rank) {
    const double scaled = (family - static_cast<double>(rank)) * *p[order[rank]];
    running = std::max(running, std::min(1.0, scaled));
    adjusted[order[rank]] = running;
  }
  return adjusted;
}

}  // namespace jobshop
