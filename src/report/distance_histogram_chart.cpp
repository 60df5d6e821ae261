#include "report/distance_histogram_chart.h"

#include <algorithm>

#include "report/chart_frame.h"
#include "report/chart_support.h"
#include "report/markup.h"
#include "report/svg_elements.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

// Narrow enough for the histograms to stand side by side.
constexpr double kHistogramWidth = 360.0;
constexpr double kHeight = 250.0;

double percentOf(std::size_t part, std::size_t total) {
  return total == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(total);
}

ChartFrame histogramFrame(const DistanceHistogram& histogram, int maxDistance) {
  ChartFrame frame;
  frame.width = kHistogramWidth;
  frame.height = kHeight;
  frame.top = 30.0;
  frame.right = 12.0;
  frame.xLow = -0.5;
  frame.xHigh = std::max(maxDistance, 1) + 0.5;
  std::size_t tallest = 0;
  for (std::size_t count : histogram.pairs) tallest = std::max(tallest, count);
  frame.yLow = 0.0;
  frame.yHigh = std::max(percentOf(tallest, histogram.total) * 1.1, 1.0);
  return frame;
}

std::string axes(const ChartFrame& frame, const std::string& counted) {
  std::vector<double> ticks;
  std::vector<std::string> labels;
  for (double tick : niceTicks(0.0, frame.xHigh - 0.5, 6)) {
    ticks.push_back(tick);
    labels.push_back(tickLabel(tick));
  }
  return chartAxes(frame, ticks, labels, "cells apart", "% of " + counted, false);
}

std::string bin(const ChartFrame& frame, const DistanceHistogram& histogram, std::size_t d,
                const std::string& counted) {
  const double percent = percentOf(histogram.pairs[d], histogram.total);
  const double left = frame.x(static_cast<double>(d) - 0.5);
  const double slot = frame.x(static_cast<double>(d) + 0.5) - left;
  const double gap = std::min(slot * 0.15, 3.0);
  return "<g class=\"distance-bin\"><title>" + std::to_string(d) +
         " cells apart: " + groupedNumber(static_cast<std::int64_t>(histogram.pairs[d])) + " " +
         counted + " (" + fixedNumber(percent, 1) + " %)</title>" +
         svgRect("bar distance", left + gap / 2, frame.y(percent), slot - gap,
                 frame.y(0.0) - frame.y(percent)) +
         "</g>";
}

}  // namespace

std::string distanceHistogramChart(const DistanceHistogram& histogram, const std::string& heading,
                                   const std::string& counted, int maxDistance) {
  const ChartFrame frame = histogramFrame(histogram, maxDistance);
  std::string svg = svgOpen("distance-histogram", frame.width, frame.height);
  svg += svgText("chart-heading", kFrameLeft, 16.0, "start", heading);
  svg += axes(frame, counted);
  for (std::size_t d = 0; d < histogram.pairs.size(); ++d) {
    if (histogram.pairs[d] > 0) svg += bin(frame, histogram, d, counted);
  }
  return svg + "</svg>";
}

}  // namespace jobshop
