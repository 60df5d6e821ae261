// The matrix of distances between the optima of one run, as an HTML table folded under a summary:
// rows and columns ordered so that close optima sit together, shaded on a sequential scale with
// its legend.
#include "report/distance_table.h"

#include <algorithm>
#include <cmath>

#include "analysis/average_linkage.h"

namespace jobshop {

namespace {

int largestDistance(const std::vector<std::vector<int>>& matrix) {
  int top = 0;
  for (const std::vector<int>& row : matrix) {
    for (int distance : row) top = std::max(top, distance);
  }
  return top;
}

// Appended rather than "h" + std::to_string(step), which g++ 12 wrongly warns about (-Wrestrict).
std::string stepClass(int step) {
  std::string name = "h";
  name += std::to_string(step);
  return name;
}

// Which distances from 0 to top a step shades: "distances 4 to 9", "distance 0", or none.
std::string stepTitle(int step, int top) {
  int low = -1;
  int high = -1;
  for (int distance = 0; distance <= top; ++distance) {
    if (distanceStep(distance, top) != step) continue;
    if (low < 0) low = distance;
    high = distance;
  }
  if (low < 0) return "no distance";
  if (low == high) return "distance " + std::to_string(low);
  return "distances " + std::to_string(low) + " to " + std::to_string(high);
}

std::string legend(int top) {
  std::string html = "<div class=\"scale-legend\"><span class=\"end\">0</span>";
  for (int step = 0; step < kDistanceSteps; ++step) {
    html += "<span class=\"step " + stepClass(step) + "\" title=\"" + stepTitle(step, top) +
            "\"></span>";
  }
  return html + "<span class=\"end\">" + std::to_string(top) + "</span></div>";
}

// Past kNumberedMatrixSide the number moves to the tooltip: cells are then too small to hold it,
// and the page stays small.
std::string cell(int distance, int top, bool diagonal, bool numbered) {
  const std::string open = "<td class=\"" + stepClass(distanceStep(distance, top)) + "\"";
  if (!numbered) return open + " title=\"" + std::to_string(distance) + "\"></td>";
  return open + ">" + (diagonal ? std::string("&#183;") : std::to_string(distance)) + "</td>";
}

std::string headerRow(const std::vector<std::size_t>& order) {
  std::string html = "<tr><th></th>";
  for (std::size_t i : order) html += "<th>" + std::to_string(i + 1) + "</th>";
  return html + "</tr>";
}

}  // namespace

int distanceStep(int distance, int top) {
  if (top <= 0) return 0;
  return static_cast<int>(std::lround(static_cast<double>(std::clamp(distance, 0, top)) *
                                      (kDistanceSteps - 1) / static_cast<double>(top)));
}

std::string distanceTable(const std::vector<std::vector<int>>& matrix, const std::string& summary,
                          const std::string& note) {
  const int top = largestDistance(matrix);
  const bool numbered = matrix.size() <= kNumberedMatrixSide;
  const std::vector<std::size_t> order = averageLinkageOrder(matrix);
  std::string html =
      std::string("<details class=\"distances\"") + (numbered ? " open=\"open\"" : "") +
      "><summary>" + summary + "</summary>" + note + legend(top) +
      (numbered ? "<div class=\"scroll\"><table class=\"matrix\">"
                : "<div class=\"scroll matrix-box\"><table class=\"matrix dense\">") +
      headerRow(order);
  for (std::size_t i : order) {
    html += "<tr><th>" + std::to_string(i + 1) + "</th>";
    for (std::size_t j : order) html += cell(matrix[i][j], top, i == j, numbered);
    html += "</tr>";
  }
  return html + "</table></div></details>";
}

}  // namespace jobshop
