#include "report/chart_frame.h"

#include <cmath>

#include "report/chart_support.h"
#include "report/markup.h"
#include "report/svg_elements.h"

namespace jobshop {

namespace {

// Two labels on the y axis closer than this (in pixels) overlap.
constexpr double kLabelClearance = 14.0;

}  // namespace

double ChartFrame::x(double value) const {
  const double share =
      logX ? std::log10(1.0 + value) / std::log10(1.0 + xHigh) : (value - xLow) / (xHigh - xLow);
  return kFrameLeft + share * (width - kFrameLeft - right);
}

double ChartFrame::y(double value) const {
  return top + (yHigh - value) / (yHigh - yLow) * (height - top - kFrameBottom);
}

std::string chartAxes(const ChartFrame& frame, const std::vector<double>& xTicks,
                      const std::vector<std::string>& xLabels, const std::string& xTitle,
                      const std::string& yTitle, bool wholeY, std::optional<double> markedY) {
  std::string svg;
  const double bottom = frame.plotBottom();
  const double right = frame.plotRight();
  for (double tick : niceTicks(frame.yLow, frame.yHigh, 6)) {
    if (wholeY && tick != std::floor(tick)) continue;
    svg += svgLine("grid", kFrameLeft, frame.y(tick), right, frame.y(tick));
    if (markedY && std::fabs(frame.y(tick) - frame.y(*markedY)) < kLabelClearance) continue;
    svg += svgText("tick", kFrameLeft - 8.0, frame.y(tick) + 4.0, "end", tickLabel(tick));
  }
  if (markedY) {
    svg += svgLine("axis", kFrameLeft - 5.0, frame.y(*markedY), kFrameLeft, frame.y(*markedY));
    svg += svgText("tick strong", kFrameLeft - 8.0, frame.y(*markedY) + 4.0, "end",
                   tickLabel(*markedY));
  }
  for (std::size_t i = 0; i < xTicks.size(); ++i) {
    svg += svgLine("axis", frame.x(xTicks[i]), bottom, frame.x(xTicks[i]), bottom + 5.0);
    svg += svgText("tick", frame.x(xTicks[i]), bottom + 18.0, "middle", xLabels[i]);
  }
  svg += svgLine("axis", kFrameLeft, bottom, right, bottom);
  svg += svgLine("axis", kFrameLeft, frame.top, kFrameLeft, bottom);
  svg += svgText("axis-title", (kFrameLeft + right) / 2.0, frame.height - 6.0, "middle", xTitle);
  svg +=
      "<text class=\"axis-title\" x=\"0\" y=\"0\" text-anchor=\"middle\" transform=\"translate(" +
      coordinate(16.0) + " " + coordinate((frame.top + bottom) / 2.0) + ") rotate(-90)\">" +
      escapeMarkup(yTitle) + "</text>";
  return svg;
}

}  // namespace jobshop
