// Niche winners, the cleared schedules and the order of cleared fitness.
#include "niching/clearing_niches.h"

namespace jobshop {

void startClearing(int count, ClearedOrder& cleared) {
  cleared.cleared.assign(static_cast<std::size_t>(count), 0);
}

void clearNicheOf(int winner, const std::vector<int>& byMakespan, const SequenceTable& sequences,
                  ClearingBounds bounds, ClearedOrder& cleared) {
  std::vector<std::uint8_t>& flags = cleared.cleared;
  if (flags[static_cast<std::size_t>(winner)] != 0) return;
  const int row = byMakespan[static_cast<std::size_t>(winner)];
  const int count = static_cast<int>(byMakespan.size());
  int kept = 1;
  for (int later = winner + 1; later < count; ++later) {
    std::uint8_t& flag = flags[static_cast<std::size_t>(later)];
    if (flag != 0) continue;
    if (!(rowDistance(sequences, row, sequences, byMakespan[static_cast<std::size_t>(later)]) <
          bounds.radius))
      continue;
    if (kept < bounds.capacity)
      ++kept;
    else
      flag = 1;
  }
}

void orderByClearedFitness(const std::vector<int>& byMakespan, ClearedOrder& cleared) {
  cleared.order.clear();
  for (const std::uint8_t wanted : {std::uint8_t{0}, std::uint8_t{1}})
    for (std::size_t rank = 0; rank < byMakespan.size(); ++rank)
      if (cleared.cleared[rank] == wanted) cleared.order.push_back(byMakespan[rank]);
}

}  // namespace jobshop
