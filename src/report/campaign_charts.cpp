// Drawing the campaign page's charts with the report's SVG helpers.
#include "report/campaign_charts.h"

#include <algorithm>
#include <cmath>

#include "report/chart_frame.h"
#include "report/chart_support.h"
#include "report/estimate_markup.h"
#include "report/markup.h"
#include "report/svg_elements.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

constexpr double kRowHeight = 26;
// Around the settings' names, right of the plot (room for half the last tick's label), and between
// the plot and a note beside it.
constexpr double kLabelMargin = 8, kRight = 30, kNoteGap = 14;
// The least a plot shrinks to beside long names or notes; the chart grows wider instead, and then
// scrolls rather than shrinking its text.
constexpr double kMinPlotWidth = 240;

// The columns of a chart of one row per setting: names, plot and an optional note beside it, each
// as wide as its longest text.
struct RowLayout {
  double labelWidth = 0;
  double plotWidth = 0;
  double width = kChartWidth;
  bool wide = false;

  double noteLeft() const { return labelWidth + plotWidth + kNoteGap; }
};

RowLayout rowLayout(const std::vector<const SettingSummary*>& settings, double noteWidth = 0) {
  double longest = 0;
  for (const SettingSummary* s : settings) longest = std::max(longest, textWidth(s->setting));
  RowLayout layout;
  layout.labelWidth = std::max(longest + 2 * kLabelMargin, 48.0);
  const double note = noteWidth > 0 ? kNoteGap + noteWidth : 0;
  layout.width = std::max(kChartWidth, layout.labelWidth + kMinPlotWidth + note + kRight);
  layout.wide = layout.width > kChartWidth;
  layout.plotWidth = layout.width - layout.labelWidth - note - kRight;
  return layout;
}

// A chart wider than the column keeps its size in a box of its own that scrolls.
std::string rowChartOpen(const RowLayout& layout, double height) {
  if (!layout.wide) return svgOpen("", layout.width, height);
  return "<div class=\"scroll\">" + svgOpen("wide", layout.width, height);
}

std::string rowChartClose(const RowLayout& layout) {
  return layout.wide ? "</svg></div>" : "</svg>";
}

std::string percent(double fraction) { return fixedNumber(100 * fraction, 0) + " %"; }

// The box, median and whiskers of one row whose top is y, with what they stand for on hover.
template <class X>
std::string boxMarks(const Spread& b, const X& x, double y, const std::string& title) {
  const double middle = y + kRowHeight / 2 - 1;
  std::string svg = "<g><title>" + escapeMarkup(title) + "</title>";
  svg += svgLine("whisker", x(b.lowest), middle, x(b.highest), middle);
  svg += svgRect("box", x(b.lowerQuartile), y + 4,
                 std::max(x(b.upperQuartile) - x(b.lowerQuartile), 0.0), kRowHeight - 10);
  svg += svgLine("median", x(b.median), y + 4, x(b.median), y + kRowHeight - 6);
  return svg + "</g>";
}

// Every value as a dot, spread over the row's height in a fixed pattern so that equal values stay
// countable and the page is the same at every collection.
template <class X>
std::string runDots(const std::vector<double>& values, const X& x, double y) {
  const double middle = y + kRowHeight / 2 - 1;
  std::string svg;
  for (std::size_t k = 0; k < values.size(); ++k) {
    const double offset = static_cast<double>(k % 7) / 6.0 - 0.5;
    svg += "<circle class=\"run-mark\" cx=\"" + coordinate(x(values[k])) + "\" cy=\"" +
           coordinate(middle + offset * (kRowHeight - 12)) + "\" r=\"2.2\"/>";
  }
  return svg;
}

}  // namespace

std::string successChart(const std::vector<const SettingSummary*>& settings) {
  const RowLayout layout = rowLayout(settings);
  const double height = 40 + kRowHeight * static_cast<double>(settings.size());
  std::string svg = rowChartOpen(layout, height);
  auto x = [&](double fraction) { return layout.labelWidth + fraction * layout.plotWidth; };
  for (double tick : {0.0, 0.25, 0.5, 0.75, 1.0}) {
    svg += svgLine("grid", x(tick), 10, x(tick), height - 24);
    svg += svgText("tick", x(tick), height - 8, "middle", percent(tick));
  }
  for (std::size_t i = 0; i < settings.size(); ++i) {
    const SettingSummary& s = *settings[i];
    const double y = 12 + kRowHeight * static_cast<double>(i);
    svg += svgText("tick", layout.labelWidth - kLabelMargin, y + 15, "end", s.setting);
    if (!s.targetRate) continue;
    const double rate = *s.targetRate;
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
  return svg + rowChartClose(layout);
}

std::string boxPlots(const std::vector<const SettingSummary*>& settings, int target) {
  // The axis starts at the target or the best run below it: no makespan left of it is drawn.
  double low = target;
  double high = target;
  for (const SettingSummary* s : settings)
    if (s->bestMakespans) {
      low = std::min(low, s->bestMakespans->lowest);
      high = std::max(high, s->bestMakespans->highest);
    }
  if (high - low < 1) high = low + 1;
  high += (high - low) * 0.05;
  const RowLayout layout = rowLayout(settings);
  auto x = [&](double value) {
    return layout.labelWidth + (value - low) / (high - low) * layout.plotWidth;
  };
  const double height = 56 + kRowHeight * static_cast<double>(settings.size());
  std::string svg = rowChartOpen(layout, height);
  for (double tick : niceTicks(low, high, 8)) {
    if (tick != std::floor(tick)) continue;  // makespans are whole numbers
    svg += svgLine("grid", x(tick), 10, x(tick), height - 40);
    svg += svgText("tick", x(tick), height - 26, "middle", tickLabel(tick));
  }
  svg += svgText("axis-title", layout.labelWidth + layout.plotWidth / 2, height - 6, "middle",
                 "best makespan of a run");
  svg += svgLine("target-line", x(target), 6, x(target), height - 40);
  // Beside the line, on the side with room for it.
  const std::string targetLabel = "target " + groupedNumber(target);
  const bool onTheRight = x(target) + 4 + textWidth(targetLabel) <= layout.width;
  svg += svgText("tick", onTheRight ? x(target) + 4 : x(target) - 4, 16,
                 onTheRight ? "start" : "end", targetLabel);
  for (std::size_t i = 0; i < settings.size(); ++i) {
    const SettingSummary& s = *settings[i];
    const double y = 22 + kRowHeight * static_cast<double>(i);
    svg += svgText("tick", layout.labelWidth - kLabelMargin, y + 15, "end", s.setting);
    if (!s.bestMakespans) continue;
    const Spread& b = *s.bestMakespans;
    svg += boxMarks(b, x, y,
                    s.setting + ": best " + plainNumber(b.lowest) + ", median " +
                        plainNumber(b.median) + ", worst " + plainNumber(b.highest));
    svg += runDots(s.bestMakespanPerRun, x, y);
  }
  return svg + rowChartClose(layout);
}

std::string unionAndEstimate(const SettingSummary& s) {
  std::string text = "union " + groupedNumber(s.distinctSchedules);
  if (!s.richness) return text;
  const RichnessEstimates& r = *s.richness;
  // The grey of its class and the caption say why; the line stays short beside the chart.
  if (r.lowerBoundOnly) return text + " · Chao2 at least " + estimateText(r.chao2);
  return text + " · Chao2 " + estimateText(r.chao2) + " (" + estimateText(r.chao2Lower) + "–" +
         estimateText(r.chao2Upper) + ")";
}

std::string unionAndEstimateClass(const SettingSummary& s) {
  return s.richness && s.richness->lowerBoundOnly ? "tick lower-bound" : "tick";
}

std::string optimaBoxPlots(const std::vector<const SettingSummary*>& settings) {
  // The union and the estimate beside each row take the room their longest text needs; the plot
  // takes the rest.
  double noteWidth = 0;
  for (const SettingSummary* s : settings)
    noteWidth = std::max(noteWidth, textWidth(unionAndEstimate(*s)));
  const RowLayout layout = rowLayout(settings, noteWidth);
  double high = 1;
  for (const SettingSummary* s : settings)
    if (s->distinctOptimaPerRun) high = std::max(high, s->distinctOptimaPerRun->highest);
  const double low = 0;
  high += (high - low) * 0.05;
  auto x = [&](double value) {
    return layout.labelWidth + (value - low) / (high - low) * layout.plotWidth;
  };
  const double height = 56 + kRowHeight * static_cast<double>(settings.size());
  std::string svg = rowChartOpen(layout, height);
  for (double tick : niceTicks(low, high, 6)) {
    if (tick != std::floor(tick)) continue;  // counts are whole numbers
    svg += svgLine("grid", x(tick), 10, x(tick), height - 40);
    svg += svgText("tick", x(tick), height - 26, "middle", tickLabel(tick));
  }
  svg += svgText("axis-title", layout.labelWidth + layout.plotWidth / 2, height - 6, "middle",
                 "distinct optima of a run that reached the target");
  for (std::size_t i = 0; i < settings.size(); ++i) {
    const SettingSummary& s = *settings[i];
    const double y = 22 + kRowHeight * static_cast<double>(i);
    svg += svgText("tick", layout.labelWidth - kLabelMargin, y + 15, "end", s.setting);
    svg +=
        svgText(unionAndEstimateClass(s), layout.noteLeft(), y + 15, "start", unionAndEstimate(s));
    if (!s.distinctOptimaPerRun) {
      svg += svgText("tick", x(low) + 4, y + 15, "start", "no run reached the target");
      continue;
    }
    const Spread& b = *s.distinctOptimaPerRun;
    svg += boxMarks(b, x, y,
                    s.setting + ": fewest " + plainNumber(b.lowest) + ", median " +
                        plainNumber(b.median) + ", most " + plainNumber(b.highest) +
                        " distinct optima per run that reached the target");
    svg += runDots(s.optimaPerSuccessfulRun, x, y);
  }
  return svg + rowChartClose(layout);
}

}  // namespace jobshop
