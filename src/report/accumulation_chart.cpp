// The accumulation curve, with the ceiling it rises towards.
#include "report/accumulation_chart.h"

#include <algorithm>
#include <cmath>

#include "analysis/richness_estimates.h"
#include "report/chart_frame.h"
#include "report/chart_support.h"
#include "report/estimate_markup.h"
#include "report/markup.h"
#include "report/svg_elements.h"

namespace jobshop {

namespace {

// More points than the plot is wide add nothing but bytes; every such step is drawn exactly.
constexpr std::size_t kMostPoints = 1000;
// An interval reaching far above everything else would flatten the curve; past this many times
// the highest of the rest it is cut at the top of the plot, and the cut is named there.
constexpr double kBandReach = 2.0;
// A ceiling farther than this many times above the curve's end would squash the curve onto the
// axis (la02's 379 found against 66,989 listed): it is then named at the top instead of drawn.
constexpr double kCeilingReach = 4.0;

// What the curve rises towards: an exact count, or an estimate with its interval.
struct Ceiling {
  double value = 0;
  std::optional<double> lower, upper;  // the interval, for an estimate
  bool exact = false;
  // Too few repeats to estimate the total: Chao2 is drawn muted as a lower bound, without an
  // interval, which would lend it a precision it does not have.
  bool lowerBound = false;
  std::string label;
};

Ceiling ceilingOf(const ScheduleIncidence& incidence, const std::optional<OptimaCoverage>& coverage,
                  const RichnessEstimates& estimates) {
  if (const std::optional<std::int64_t> exact = exactCountAtBest(incidence, coverage)) {
    return {static_cast<double>(*exact),
            std::nullopt,
            std::nullopt,
            true,
            false,
            "enumeration: " + groupedNumber(*exact)};
  }
  if (estimates.lowerBoundOnly)
    return {estimates.chao2,
            std::nullopt,
            std::nullopt,
            false,
            true,
            "Chao2: at least " + estimateText(estimates.chao2) +
                " (too few repeats to estimate the total)"};
  if (estimates.chao2Upper <= static_cast<double>(estimates.observed))
    return {estimates.chao2,
            std::nullopt,
            std::nullopt,
            false,
            false,
            "Chao2 estimate " + estimateText(estimates.chao2) + ", no sign of unseen schedules"};
  return {estimates.chao2,
          estimates.chao2Lower,
          estimates.chao2Upper,
          false,
          false,
          "Chao2 estimate " + estimateText(estimates.chao2) + " (95 % interval " +
              estimateText(estimates.chao2Lower) + " to " + estimateText(estimates.chao2Upper) +
              ")"};
}

ChartFrame accumulationFrame(std::size_t runs, double highest, const Ceiling& ceiling) {
  ChartFrame frame;
  frame.height = 330.0;
  frame.top = 24.0;
  frame.xLow = 0.0;
  frame.xHigh = static_cast<double>(runs);
  const bool drawn = ceiling.value <= highest * kCeilingReach;
  const double level = drawn ? std::max(highest, ceiling.value) : highest * 1.1;
  const double band = drawn && ceiling.upper ? std::min(*ceiling.upper, level * kBandReach) : level;
  frame.yLow = 0.0;
  frame.yHigh = std::max({level * 1.15, band * 1.05, 1.0});
  return frame;
}

std::string axes(const ChartFrame& frame) {
  std::vector<double> ticks;
  std::vector<std::string> labels;
  for (const double tick : niceTicks(frame.xLow, frame.xHigh, 10)) {
    if (tick != std::floor(tick)) continue;
    ticks.push_back(tick);
    labels.push_back(tickLabel(tick));
  }
  return chartAxes(frame, ticks, labels, "runs taken together", "distinct schedules", true);
}

// From the origin, no run having found anything yet.
std::string curvePath(const ChartFrame& frame, const std::vector<double>& curve) {
  const std::size_t step = (curve.size() + kMostPoints - 1) / kMostPoints;
  std::string path = "M";
  path += coordinate(frame.x(0));
  path += ' ';
  path += coordinate(frame.y(0));
  for (std::size_t t = 1; t <= curve.size(); ++t) {
    if (t % step != 0 && t != curve.size()) continue;
    path += " L";
    path += coordinate(frame.x(static_cast<double>(t)));
    path += ' ';
    path += coordinate(frame.y(curve[t - 1]));
  }
  return "<path class=\"curve\" d=\"" + path + "\"><title>expected distinct schedules, " +
         estimateText(curve.back()) + " after all " + std::to_string(curve.size()) +
         " runs</title></path>";
}

bool bandCut(const ChartFrame& frame, const Ceiling& ceiling) {
  return ceiling.upper && *ceiling.upper > frame.yHigh;
}

// The band up to the top of the plot at most; where it goes on, its end is named at the top
// right, above the curve's end, which lies far below there.
std::string estimateBand(const ChartFrame& frame, const Ceiling& ceiling) {
  const double top = frame.y(std::min(*ceiling.upper, frame.yHigh));
  std::string svg = svgRect("estimate-band", kFrameLeft, top, frame.plotRight() - kFrameLeft,
                            frame.y(*ceiling.lower) - top);
  if (bandCut(frame, ceiling)) {
    svg += svgText("ceiling-label", frame.plotRight() - 8.0, top + 14.0, "end",
                   "\u2191 the interval goes on to " + estimateText(*ceiling.upper));
  }
  return svg;
}

std::string ceilingMarks(const ChartFrame& frame, const Ceiling& ceiling) {
  const std::string labelClass = ceiling.lowerBound ? "ceiling-label lower-bound" : "ceiling-label";
  if (ceiling.value > frame.yHigh) {
    return svgText(labelClass, kFrameLeft + 8.0, frame.y(frame.yHigh) + 14.0, "start",
                   "\u2191 " + ceiling.label + ", far above the chart");
  }
  std::string svg = ceiling.lower ? estimateBand(frame, ceiling) : std::string();
  const double y = frame.y(ceiling.value);
  const char* lineClass = ceiling.exact        ? "ceiling"
                          : ceiling.lowerBound ? "estimate lower-bound"
                                               : "estimate";
  svg += svgLine(lineClass, kFrameLeft, y, frame.plotRight(), y);
  // Above the line at the left, where the curve is still low and leaves room.
  return svg + svgText(labelClass, kFrameLeft + 8.0, y - 6.0, "start", ceiling.label);
}

// What the line or the name at the top stands for, when it is Chao2.
std::string estimateNote(const Ceiling& ceiling, bool ceilingDrawn, bool cut) {
  if (ceiling.lowerBound) {
    return ceilingDrawn ? "The grey dashed line is Chao2 as a lower bound only: the runs are too "
                          "few to estimate how many exist."
                        : "Chao2, a lower bound only (the runs are too few to estimate how many "
                          "exist), lies far above the curve, named at the top rather than drawn.";
  }
  std::string note = !ceilingDrawn   ? "The Chao2 estimate of how many exist lies far above the "
                                       "curve, named at the top rather than drawn."
                     : ceiling.lower ? std::string(
                                           "The line is the Chao2 estimate of how many exist, the "
                                           "shaded band its 95 % interval") +
                                           (cut ? ", cut at the top of the chart." : ".")
                                     : "The line is the Chao2 estimate of how many exist.";
  return note + " Like the estimates above, it is a lower bound in practice.";
}

std::string chartNote(const ScheduleIncidence& incidence,
                      const std::optional<OptimaCoverage>& coverage, const Ceiling& ceiling,
                      bool ceilingDrawn, bool cut, const std::vector<double>& curve) {
  const std::size_t runs = curve.size();
  const double slope = curve[runs - 1] - curve[runs - 2];
  std::string note = "<p class=\"note accumulation-note\">The distinct " +
                     escapeMarkup(bestMakespanWords(incidence, coverage)) + " that t of the " +
                     std::to_string(runs) +
                     " runs find together, averaged over every choice of t runs. ";
  if (!ceiling.exact) {
    note += estimateNote(ceiling, ceilingDrawn, cut);
  } else {
    note += ceilingDrawn ? "The dashed line is the exact count of the enumeration."
                         : "The exact count of the enumeration lies far above the curve, "
                           "named at the top rather than drawn.";
  }
  return note + " The last run added <strong class=\"last-step\">" + fixedNumber(slope, 2) +
         "</strong> on average: about what one more run would add.</p>";
}

}  // namespace

bool hasAccumulation(const ScheduleIncidence& incidence) {
  return incidence.bestMakespan && incidence.runCount >= 2 && !incidence.schedules.empty();
}

std::string accumulationSection(const ReportAnalysis& analysis) {
  const ScheduleIncidence& incidence = analysis.incidence;
  const std::optional<OptimaCoverage>& coverage = analysis.coverage;
  if (!hasAccumulation(incidence)) return {};
  const std::vector<double>& curve = analysis.accumulation;
  const Ceiling ceiling = ceilingOf(incidence, coverage, *analysis.estimates);
  const ChartFrame frame = accumulationFrame(curve.size(), curve.back(), ceiling);
  std::string html =
      "<section id=\"accumulation\"><h2>Accumulation of distinct schedules</h2><div "
      "class=\"chart\">" +
      svgOpen("accumulation", frame.width, frame.height);
  html += axes(frame) + ceilingMarks(frame, ceiling) + curvePath(frame, curve);
  return html + "</svg></div>" +
         chartNote(incidence, coverage, ceiling, ceiling.value <= frame.yHigh,
                   bandCut(frame, ceiling), curve) +
         "</section>";
}

}  // namespace jobshop
