// The matrix of distances between the optima of one run, as an HTML table folded under a summary,
// shaded on a sequential scale with its legend.
#include "report/distance_table.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "report/chart_support.h"

namespace jobshop {

namespace {

// ColorBrewer's seven-class "Blues" (Brewer and Harrower, colorbrewer2.org): one hue from light to
// dark, with steps that stay apart in print and on screen.
constexpr const char* kBlues[] = {"#eff3ff", "#c6dbef", "#9ecae1", "#6baed6",
                                  "#4292c6", "#2171b5", "#084594"};
constexpr int kSteps = static_cast<int>(std::size(kBlues));

int largestDistance(const std::vector<std::vector<int>>& matrix) {
  int top = 0;
  for (const std::vector<int>& row : matrix) {
    for (int distance : row) top = std::max(top, distance);
  }
  return top;
}

std::string legend(int top) {
  std::string html = "<div class=\"scale-legend\"><span class=\"end\">0</span>";
  for (const char* colour : kBlues) {
    html += "<span class=\"step\" style=\"background:";
    html += colour;
    html += "\"></span>";
  }
  return html + "<span class=\"end\">" + std::to_string(top) + "</span></div>";
}

std::string cell(int distance, int top, bool diagonal) {
  const std::string shade = distanceShade(distance, top);
  const std::string textClass = isDarkColour(shade) ? " class=\"on-dark\"" : "";
  return "<td" + textClass + " style=\"background:" + shade + "\">" +
         (diagonal ? std::string("&#183;") : std::to_string(distance)) + "</td>";
}

}  // namespace

std::string distanceShade(int distance, int top) {
  if (top <= 0) return kBlues[0];
  const long step = std::lround(static_cast<double>(std::clamp(distance, 0, top)) * (kSteps - 1) /
                                static_cast<double>(top));
  return kBlues[step];
}

std::string distanceTable(const std::vector<std::vector<int>>& matrix, const std::string& summary,
                          const std::string& note) {
  const int top = largestDistance(matrix);
  std::string html = std::string("<details class=\"distances\"") +
                     (matrix.size() <= kOpenMatrixSide ? " open=\"open\"" : "") + "><summary>" +
                     summary + "</summary>" + note + legend(top) +
                     "<div class=\"scroll\"><table class=\"matrix\"><tr><th></th>";
  for (std::size_t i = 0; i < matrix.size(); ++i) html += "<th>" + std::to_string(i + 1) + "</th>";
  html += "</tr>";
  for (std::size_t i = 0; i < matrix.size(); ++i) {
    html += "<tr><th>" + std::to_string(i + 1) + "</th>";
    for (std::size_t j = 0; j < matrix.size(); ++j) html += cell(matrix[i][j], top, i == j);
    html += "</tr>";
  }
  return html + "</table></div></details>";
}

}  // namespace jobshop
