// A schedule's machine orders as HTML, for the tables and lists of schedules.
#include "report/machine_orders.h"

#include <cstddef>

namespace jobshop {

std::string machineOrders(const std::vector<int>& sequences, int jobs) {
  std::string html;
  const std::size_t width = static_cast<std::size_t>(jobs);
  for (std::size_t start = 0; start < sequences.size(); start += width) {
    if (start > 0) html += ' ';
    html += "<span class=\"order\"><b>M" + std::to_string(start / width + 1) + "</b>";
    for (std::size_t c = start; c < start + width && c < sequences.size(); ++c) {
      html += ' ';
      html += std::to_string(sequences[c]);
    }
    html += "</span>";
  }
  return html;
}

}  // namespace jobshop
