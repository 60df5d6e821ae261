// Drawing the campaign page's charts with the report's SVG helpers.
#include "campaigns/campaign_charts.h"

#include <algorithm>
#include <cmath>

#include "report/chart_support.h"
#include "report/markup.h"
#include "report/svg_elements.h"

namespace jobshop {

namespace {

constexpr double kLabelWidth = 170, kPlotWidth = 600, kRowHeight = 26;

constexpr double kChartWidth = kLabelWidth + kPlotWidth + 30;

std::string percent(double fraction) { return fixedNumber(100 * fraction, 0) + " %"; }

// Drawn in its own units and scaled to the width of its card, whatever the window.
std::string chartOpen(double width, double height) {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100%\" viewBox=\"0 0 " +
         coordinate(width) + " " + coordinate(height) + "\" preserveAspectRatio=\"xMinYMin meet\">";
}

}  // namespace

std::string successChart(const std::vector<const SettingSummary*>& settings) {
  const double height = 40 + kRowHeight * static_cast<double>(settings.size());
  std::string svg = chartOpen(kChartWidth, height);
  auto x = [](double fraction) { return kLabelWidth + fraction * kPlotWidth; };
  for (double tick : {0.0, 0.25, 0.5, 0.75, 1.0}) {
    svg += svgLine("grid", x(tick), 10, x(tick), height - 24);
    svg += svgText("tick", x(tick), height - 8, "middle", percent(tick));
  }
  for (std::size_t i = 0; i < settings.size(); ++i) {
    const SettingSummary& s = *settings[i];
    const double y = 12 + kRowHeight * static_cast<double>(i);
    svg += svgText("tick", kLabelWidth - 8, y + 15, "end", s.setting);
    if (s.runs == 0) continue;
    const double rate = static_cast<double>(s.runsReachingTarget) / s.runs;
    svg += "<g><title>" + escapeMarkup(s.setting) + ": " + std::to_string(s.runsReachingTarget) +
           " of " + std::to_string(s.runs) + (s.runs == 1 ? " run" : " runs") + "</title>" +
           svgRect("rate", x(0), y + 4, std::max(x(rate) - x(0), 0.0), kRowHeight - 10) + "</g>";
    const double middle = y + kRowHeight / 2 - 1;
    svg += svgLine("whisker", x(s.successInterval.low), middle, x(s.successInterval.high), middle);
    svg += svgLine("whisker", x(s.successInterval.low), middle - 5, x(s.successInterval.low),
                   middle + 5);
    svg += svgLine("whisker", x(s.successInterval.high), middle - 5, x(s.successInterval.high),
                   middle + 5);
  }
  return svg + "</svg>";
}

std::string boxPlots(const std::vector<const SettingSummary*>& settings,
                     const std::vector<CollectedRun>& runs, int target) {
  double low = target;
  double high = target;
  for (const SettingSummary* s : settings)
    if (s->bestMakespans) {
      low = std::min(low, s->bestMakespans->lowest);
      high = std::max(high, s->bestMakespans->highest);
    }
  if (high - low < 1) high = low + 1;
  const double margin = (high - low) * 0.05;
  low -= margin;
  high += margin;
  auto x = [&](double value) { return kLabelWidth + (value - low) / (high - low) * kPlotWidth; };
  const double height = 56 + kRowHeight * static_cast<double>(settings.size());
  std::string svg = chartOpen(kChartWidth, height);
  for (double tick : niceTicks(low, high, 8)) {
    if (tick != std::floor(tick)) continue;  // makespans are whole numbers
    svg += svgLine("grid", x(tick), 10, x(tick), height - 40);
    svg += svgText("tick", x(tick), height - 26, "middle", tickLabel(tick));
  }
  svg += svgText("axis-title", kLabelWidth + kPlotWidth / 2, height - 6, "middle",
                 "best makespan of a run");
  svg += svgLine("target-line", x(target), 6, x(target), height - 40);
  svg += svgText("tick", x(target) + 4, 16, "start", "target " + std::to_string(target));
  for (std::size_t i = 0; i < settings.size(); ++i) {
    const SettingSummary& s = *settings[i];
    const double y = 22 + kRowHeight * static_cast<double>(i);
    svg += svgText("tick", kLabelWidth - 8, y + 15, "end", s.setting);
    if (!s.bestMakespans) continue;
    const Spread& b = *s.bestMakespans;
    const double middle = y + kRowHeight / 2 - 1;
    svg += "<g><title>" + escapeMarkup(s.setting) + ": best " + plainNumber(b.lowest) +
           ", median " + plainNumber(b.median) + ", worst " + plainNumber(b.highest) + "</title>";
    svg += svgLine("whisker", x(b.lowest), middle, x(b.highest), middle);
    svg += svgRect("box", x(b.lowerQuartile), y + 4,
                   std::max(x(b.upperQuartile) - x(b.lowerQuartile), 0.0), kRowHeight - 10);
    svg += svgLine("median", x(b.median), y + 4, x(b.median), y + kRowHeight - 6);
    svg += "</g>";
    // Every run as a dot, spread over the row's height so that equal values stay countable.
    int k = 0;
    for (const CollectedRun& run : runs) {
      if (run.execution->instance != s.instance || run.execution->setting != s.setting) continue;
      const double offset = static_cast<double>(k++ % 7) / 6.0 - 0.5;
      svg += "<circle class=\"run-mark\" cx=\"" + coordinate(x(run.bestMakespan)) + "\" cy=\"" +
             coordinate(middle + offset * (kRowHeight - 12)) + "\" r=\"2.2\"/>";
    }
  }
  return svg + "</svg>";
}

}  // namespace jobshop
