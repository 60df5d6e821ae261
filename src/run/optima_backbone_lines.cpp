// A stopped count has seen only some schedules: a pair ordered one way in those may be ordered
// the other way in one it never reached, so only a complete count has a backbone.
#include "run/optima_backbone_lines.h"

#include <cstdio>

#include "exact/order_set.h"

namespace jobshop {

OptimaBackbone backboneFromOrders(std::span<const std::uint64_t> seen,
                                  const EnumeratedOptima& count) {
  OptimaBackbone backbone;
  backbone.of = machinePairs(count.jobs, count.machines);
  for (const auto& [machine, before, after] : backboneOrders(seen, count.jobs, count.machines))
    backbone.orders.push_back({machine + 1, before + 1, after + 1});
  return backbone;
}

OrFailure<OptimaBackbone> listedBackbone(const std::string& path, const EnumeratedOptima& count) {
  EnumeratedOptima listed = count;
  listed.schedules.clear();
  listed.listLines.clear();
  if (MaybeFailure failure = loadOptimaList(path, listed)) return std::move(*failure);
  return backboneOfSchedules(listed.schedules, count.jobs, count.machines);
}

void printBackboneLine(const EnumeratedOptima& count, std::ostream& out) {
  if (!count.backbone) {
    out << "backbone none: the count is not complete\n";
    return;
  }
  if (count.count == 0) {
    out << "backbone none: no schedule within the bound\n";
    return;
  }
  char share[32];
  std::snprintf(share, sizeof share, "%.1f", 100 * count.backbone->share());
  out << "backbone " << count.backbone->pairs() << " of " << count.backbone->of
      << " machine pairs (" << share << " %)\n";
}

}  // namespace jobshop
