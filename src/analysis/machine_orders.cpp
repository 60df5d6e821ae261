// A schedule's machine orders as HTML, for the tables and lists of schedules, and the cells in
// which two schedules' orders differ.
#include "analysis/machine_orders.h"

#include <cstddef>

namespace jobshop {

std::vector<bool> differingCells(const std::vector<int>& sequences,
                                 const std::vector<int>& reference) {
  std::vector<bool> differing(sequences.size());
  for (std::size_t c = 0; c < sequences.size(); ++c)
    differing[c] = c >= reference.size() || reference[c] != sequences[c];
  return differing;
}

// The shade is the cell's own, so that pages without shaded cells keep their style sheet as it was.
constexpr const char* kShadedCell = "<span class=\"fixed\" style=\"background: #c6d8f2\">";

std::string machineOrders(const std::vector<int>& sequences, int jobs,
                          const std::vector<bool>& marked, const std::vector<bool>& shaded) {
  if (sequences.size() > kListedCells) {
    return "<span class=\"order left-out\">" + std::to_string(sequences.size()) +
           " cells, too many to list here</span>";
  }
  std::string html;
  const std::size_t width = static_cast<std::size_t>(jobs);
  for (std::size_t start = 0; start < sequences.size(); start += width) {
    if (start > 0) html += ' ';
    html += "<span class=\"order\"><b>M" + std::to_string(start / width + 1) + "</b>";
    for (std::size_t c = start; c < start + width && c < sequences.size(); ++c) {
      html += ' ';
      const bool mark = c < marked.size() && marked[c];
      const bool shade = c < shaded.size() && shaded[c];
      if (shade) html += kShadedCell;
      if (mark) html += "<mark>";
      html += std::to_string(sequences[c]);
      if (mark) html += "</mark>";
      if (shade) html += "</span>";
    }
    html += "</span>";
  }
  return html;
}

}  // namespace jobshop
