// The frame the two charts over all runs share: the plot area inside a drawing, the mapping of
// values to it, and the axes with their grid, ticks and titles.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace jobshop {

// The width of every full-width chart of the page, so that they line up one under another. It fits
// the narrowest place a chart stands in an 800 px window (about 740 px inside a chart's card, 712
// inside a run's folded section), so that charts are drawn 1:1 there and at any wider window and
// their text keeps the style sheet's sizes.
inline constexpr double kChartWidth = 700.0;
inline constexpr double kFrameLeft = 64.0;
inline constexpr double kFrameBottom = 46.0;

struct ChartFrame {
  double width = kChartWidth;
  double height = 0.0;
  double top = 18.0, right = 24.0;
  double xLow = 0.0, xHigh = 1.0, yLow = 0.0, yHigh = 1.0;
  bool logX = false;  // x drawn as log10(1 + value)

  double x(double value) const;
  double y(double value) const;
  double plotRight() const { return width - right; }
  double plotBottom() const { return height - kFrameBottom; }
};

// Horizontal grid lines with labels on the left, ticks along the bottom with their labels, and the
// two axis titles. Counts take whole ticks only (wholeY), so that a plot of few runs shows no
// fractions of a run. A markedY gets a bold label of its own, and grid labels that would touch it
// are left out.
std::string chartAxes(const ChartFrame& frame, const std::vector<double>& xTicks,
                      const std::vector<std::string>& xLabels, const std::string& xTitle,
                      const std::string& yTitle, bool wholeY,
                      std::optional<double> markedY = std::nullopt);

}  // namespace jobshop
