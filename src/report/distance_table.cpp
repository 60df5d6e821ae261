// The matrix of distances between the optima of one run, as an HTML table.
#include "report/distance_table.h"

#include <algorithm>

namespace jobshop {

std::string distanceTable(const std::vector<std::vector<int>>& matrix, int maxDistance) {
  std::string html = "<div class=\"scroll\"><table class=\"matrix\"><tr><th></th>";
  for (std::size_t i = 0; i < matrix.size(); ++i) html += "<th>" + std::to_string(i + 1) + "</th>";
  html += "</tr>";
  const double scale = std::max(maxDistance, 1);
  for (std::size_t i = 0; i < matrix.size(); ++i) {
    html += "<tr><th>" + std::to_string(i + 1) + "</th>";
    for (std::size_t j = 0; j < matrix.size(); ++j) {
      // Far-apart pairs are shaded darker, so that clusters of similar optima stand out.
      const int shade = static_cast<int>(255.0 - 110.0 * matrix[i][j] / scale);
      const std::string tone = std::to_string(shade);
      html += "<td style=\"background:rgb(" + tone + "," + tone + ",255)\">" +
              (i == j ? std::string("&#183;") : std::to_string(matrix[i][j])) + "</td>";
    }
    html += "</tr>";
  }
  html += "</table></div>";
  return html;
}

}  // namespace jobshop
