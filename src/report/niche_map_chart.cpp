#include "report/niche_map_chart.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

#include "report/chart_frame.h"
#include "report/chart_support.h"
#include "report/markup.h"
#include "report/svg_elements.h"

namespace jobshop {

namespace {

constexpr double kMargin = 24.0;
// Room under the plot for the scale bar.
constexpr double kFoot = 34.0;
// A flat map keeps some height, and a tall one stays within a screen.
constexpr double kMinPlotHeight = 220.0;
constexpr double kMaxPlotHeight = 640.0;
constexpr double kLargestDot = 15.0;
// A dot whose first run is not among the counted ones (it cannot be, but a colour is needed).
constexpr const char* kUnknownRunColour = "#3a4150";

struct Extent {
  double left = 0, right = 0, bottom = 0, top = 0;
};

// One scale for both axes, so that a length on the map reads the same either way.
struct MapFrame {
  double scale = 1;
  double centreX = 0, centreY = 0;
  double plotWidth = kChartWidth - 2 * kMargin;
  double plotHeight = kMinPlotHeight;

  double x(double value) const { return kMargin + plotWidth / 2 + (value - centreX) * scale; }
  double y(double value) const { return kMargin + plotHeight / 2 - (value - centreY) * scale; }
  double height() const { return plotHeight + 2 * kMargin + kFoot; }
};

std::vector<MapPoint> drawnPoints(const NicheMap& map) {
  std::vector<MapPoint> points(map.unfoundPoints);
  for (const std::optional<MapPoint>& point : map.found) {
    if (point) points.push_back(*point);
  }
  return points;
}

MapFrame frameFor(const NicheMap& map) {
  const std::vector<MapPoint> points = drawnPoints(map);
  MapFrame frame;
  if (points.empty()) return frame;
  Extent extent{points[0].x, points[0].x, points[0].y, points[0].y};
  for (const MapPoint& point : points) {
    extent.left = std::min(extent.left, point.x);
    extent.right = std::max(extent.right, point.x);
    extent.bottom = std::min(extent.bottom, point.y);
    extent.top = std::max(extent.top, point.y);
  }
  frame.centreX = (extent.left + extent.right) / 2;
  frame.centreY = (extent.bottom + extent.top) / 2;
  // Dots keep clear of the edges.
  const double usableWidth = frame.plotWidth - 2 * kLargestDot;
  const double spanX = std::max(extent.right - extent.left, 1e-9);
  const double spanY = std::max(extent.top - extent.bottom, 1e-9);
  frame.scale = std::min(usableWidth / spanX, (kMaxPlotHeight - 2 * kLargestDot) / spanY);
  if (extent.right - extent.left == 0 && extent.top - extent.bottom == 0) frame.scale = 1;
  frame.plotHeight =
      std::clamp(spanY * frame.scale + 2 * kLargestDot, kMinPlotHeight, kMaxPlotHeight);
  return frame;
}

std::string circle(const char* className, double x, double y, double radius,
                   const std::string& fill, const std::string& title) {
  return std::string("<circle class=\"") + className + "\" cx=\"" + coordinate(x) + "\" cy=\"" +
         coordinate(y) + "\" r=\"" + coordinate(radius) + "\"" +
         (fill.empty() ? "" : " fill=\"" + fill + "\"") + "><title>" + escapeMarkup(title) +
         "</title></circle>";
}

std::string foundDots(const NicheMap& map, const MapFrame& frame, const OptimumUnion& optima,
                      const std::vector<RunRecord>& runs, const std::vector<RunRecord>& counted) {
  std::map<int, std::size_t> position;
  for (std::size_t r = 0; r < counted.size(); ++r) position[counted[r].run] = r;
  struct Dot {
    std::size_t schedule;
    std::vector<int> holders;
  };
  std::vector<Dot> dots;
  for (std::size_t s = 0; s < map.found.size(); ++s) {
    if (map.found[s]) dots.push_back({s, heldBy(optima.schedules[s], runs)});
  }
  // Large dots first, so that small ones stay visible on top of them.
  std::stable_sort(dots.begin(), dots.end(),
                   [](const Dot& a, const Dot& b) { return a.holders.size() > b.holders.size(); });
  std::string svg;
  for (const Dot& dot : dots) {
    const MapPoint& point = *map.found[dot.schedule];
    const auto first = position.find(dot.holders.front());
    const std::string colour = first == position.end()
                                   ? std::string(kUnknownRunColour)
                                   : seriesColour(static_cast<int>(first->second));
    const std::string title = "schedule " + std::to_string(dot.schedule + 1) + ", found by " +
                              (dot.holders.size() == 1 ? "run " : "runs ") +
                              numberList(dot.holders);
    svg += circle("found", frame.x(point.x), frame.y(point.y), dotRadius(dot.holders.size()),
                  colour, title);
  }
  return svg;
}

std::string unfoundDots(const NicheMap& map, const MapFrame& frame) {
  std::string svg;
  for (const MapPoint& point : map.unfoundPoints)
    svg +=
        circle("unfound", frame.x(point.x), frame.y(point.y), 2.5, "", "listed, found by no run");
  return svg;
}

// A bar of a round number of cells under the plot's left corner.
std::string scaleBar(const MapFrame& frame) {
  const double cells = frame.plotWidth / frame.scale;
  const std::vector<double> ticks = niceTicks(0.0, cells / 5.0, 2);
  const double length = ticks.size() > 1 ? ticks[1] : 1.0;
  const double y = frame.height() - kMargin + 4.0;
  const double right = kMargin + length * frame.scale;
  return svgLine("scale-bar", kMargin, y, right, y) +
         svgText("scale-label", right + 8.0, y + 4.0, "start",
                 tickLabel(length) + (length == 1.0 ? " cell" : " cells"));
}

}  // namespace

std::vector<int> heldBy(const SharedOptimum& optimum, const std::vector<RunRecord>& runs) {
  std::vector<int> holders;
  for (int run : optimum.runs) {
    const auto record =
        std::find_if(runs.begin(), runs.end(), [&](const RunRecord& r) { return r.run == run; });
    holders.push_back(record != runs.end() && record->repeatOf != 0 ? record->repeatOf : run);
  }
  std::sort(holders.begin(), holders.end());
  holders.erase(std::unique(holders.begin(), holders.end()), holders.end());
  return holders;
}

double dotRadius(std::size_t holders) {
  return std::min(3.5 + 2.5 * std::sqrt(static_cast<double>(std::max<std::size_t>(holders, 1))),
                  kLargestDot);
}

std::string nicheMapChart(const NicheMap& map, const OptimumUnion& optima,
                          const std::vector<RunRecord>& runs,
                          const std::vector<RunRecord>& counted) {
  const MapFrame frame = frameFor(map);
  std::string svg = svgOpen("niche-map", kChartWidth, frame.height());
  svg += svgRect("map-area", kMargin, kMargin, frame.plotWidth, frame.plotHeight);
  svg += unfoundDots(map, frame);
  svg += foundDots(map, frame, optima, runs, counted);
  svg += scaleBar(frame);
  return svg + "</svg>";
}

}  // namespace jobshop
