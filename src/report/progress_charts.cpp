// The two charts over all runs as inline SVG: the best makespan against the generation, one step
// line per run with the target as a horizontal line, and a histogram of the runs' best makespans.
#include "report/progress_charts.h"

#include <algorithm>
#include <cmath>

#include "report/chart_support.h"
#include "report/markup.h"

namespace {

constexpr double kWidth = 1060.0;
constexpr double kLeft = 64.0;
constexpr double kRight = 24.0;
constexpr double kTop = 18.0;
constexpr double kBottom = 46.0;
constexpr int kLegendLimit = 40;
// One bar per makespan value while there are at most this many values; wider ranges are binned.
constexpr int kMaxBins = 40;

struct Frame {
  double width = kWidth;
  double height = 0.0;
  double xLow = 0.0, xHigh = 1.0, yLow = 0.0, yHigh = 1.0;
  double x(double value) const {
    return kLeft + (value - xLow) / (xHigh - xLow) * (width - kLeft - kRight);
  }
  double y(double value) const {
    return kTop + (yHigh - value) / (yHigh - yLow) * (height - kTop - kBottom);
  }
};

std::string openSvg(const char* className, const Frame& frame) {
  return std::string("<svg class=\"") + className +
         "\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" + coordinate(frame.width) +
         "\" height=\"" + coordinate(frame.height) + "\" viewBox=\"0 0 " + coordinate(frame.width) +
         " " + coordinate(frame.height) + "\">";
}

std::string line(const char* className, double x1, double y1, double x2, double y2) {
  return std::string("<line class=\"") + className + "\" x1=\"" + coordinate(x1) + "\" y1=\"" +
         coordinate(y1) + "\" x2=\"" + coordinate(x2) + "\" y2=\"" + coordinate(y2) + "\"/>";
}

std::string text(const char* className, double x, double y, const char* anchor,
                 const std::string& content) {
  return std::string("<text class=\"") + className + "\" x=\"" + coordinate(x) + "\" y=\"" +
         coordinate(y) + "\" text-anchor=\"" + anchor + "\">" + escapeMarkup(content) + "</text>";
}

// Horizontal grid lines with labels on the left, and the two axis titles.
// Counts take whole ticks only (wholeY), so that a plot of few runs shows no fractions of a run.
std::string axes(const Frame& frame, const std::vector<double>& xTicks,
                 const std::vector<std::string>& xLabels, const std::string& xTitle,
                 const std::string& yTitle, bool wholeY) {
  std::string svg;
  const double bottom = frame.height - kBottom;
  for (double tick : niceTicks(frame.yLow, frame.yHigh, 6)) {
    if (wholeY && tick != std::floor(tick)) continue;
    svg += line("grid", kLeft, frame.y(tick), frame.width - kRight, frame.y(tick));
    svg += text("tick", kLeft - 8.0, frame.y(tick) + 4.0, "end", tickLabel(tick));
  }
  for (std::size_t i = 0; i < xTicks.size(); ++i) {
    svg += line("axis", frame.x(xTicks[i]), bottom, frame.x(xTicks[i]), bottom + 5.0);
    svg += text("tick", frame.x(xTicks[i]), bottom + 18.0, "middle", xLabels[i]);
  }
  svg += line("axis", kLeft, bottom, frame.width - kRight, bottom);
  svg += line("axis", kLeft, kTop, kLeft, bottom);
  svg += text("axis-title", (kLeft + frame.width - kRight) / 2.0, frame.height - 6.0, "middle",
              xTitle);
  svg +=
      "<text class=\"axis-title\" x=\"0\" y=\"0\" text-anchor=\"middle\" transform=\"translate(" +
      coordinate(16.0) + " " + coordinate((kTop + bottom) / 2.0) + ") rotate(-90)\">" +
      escapeMarkup(yTitle) + "</text>";
  return svg;
}

std::vector<std::string> labelsOf(const std::vector<double>& ticks) {
  std::vector<std::string> labels;
  for (double tick : ticks) labels.push_back(tickLabel(tick));
  return labels;
}

}  // namespace

std::string convergencePlot(const std::vector<RunRecord>& runs, int targetMakespan) {
  Frame frame;
  frame.height = 380.0;
  const double target = targetMakespan;
  double lowest = target, highest = target;
  int lastGeneration = 0;
  for (const RunRecord& run : runs) {
    for (const ProgressStep& step : run.progress) {
      lowest = std::min(lowest, step.makespan);
      highest = std::max(highest, step.makespan);
      lastGeneration = std::max(lastGeneration, step.generation);
    }
  }
  const double pad = std::max((highest - lowest) * 0.06, 1.0);
  frame.yLow = lowest - pad;
  frame.yHigh = highest + pad;
  frame.xHigh = std::max(lastGeneration, 1);
  std::vector<double> xTicks;
  for (double tick : niceTicks(0.0, frame.xHigh, 10)) {
    if (tick == std::floor(tick)) xTicks.push_back(tick);
  }
  std::string svg = openSvg("convergence", frame);
  svg += axes(frame, xTicks, labelsOf(xTicks), "generation", "best makespan", false);
  const double right = frame.width - kRight;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const std::vector<ProgressStep>& steps = runs[r].progress;
    if (steps.empty()) continue;
    const std::string colour = seriesColour(static_cast<int>(r));
    std::string path = std::string("M") + coordinate(frame.x(steps[0].generation)) + " " +
                       coordinate(frame.y(steps[0].makespan));
    for (std::size_t s = 1; s < steps.size(); ++s) {
      path += " H";
      path += coordinate(frame.x(steps[s].generation));
      path += " V";
      path += coordinate(frame.y(steps[s].makespan));
    }
    const double endX = frame.x(steps.back().generation);
    const double endY = frame.y(steps.back().makespan);
    svg += "<g><title>run " + std::to_string(runs[r].run) + ": best " +
           fixedNumber(steps.back().makespan, 1) + " at generation " +
           std::to_string(steps.back().generation) + "</title>";
    svg += "<path class=\"series\" d=\"" + path + "\" stroke=\"" + colour + "\"/>";
    // After its last improvement a run keeps its best until it ends; the files do not say when
    // that is, so the line goes on dotted.
    if (endX < right) {
      svg += "<path class=\"series-tail\" d=\"M" + coordinate(endX) + " " + coordinate(endY) +
             " H" + coordinate(right) + "\" stroke=\"" + colour + "\"/>";
    }
    svg += "<circle class=\"series-end\" cx=\"" + coordinate(endX) + "\" cy=\"" + coordinate(endY) +
           "\" r=\"3.5\" fill=\"" + colour + "\"/></g>";
  }
  svg += line("target", kLeft, frame.y(target), right, frame.y(target));
  svg += text("target-label", right - 4.0, frame.y(target) - 6.0, "end",
              "target " + std::to_string(targetMakespan));
  svg += "</svg>";
  return svg;
}

std::string runLegend(const std::vector<RunRecord>& runs) {
  if (runs.size() > static_cast<std::size_t>(kLegendLimit)) return {};
  std::string html = "<div class=\"legend\">";
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (runs[r].progress.empty()) continue;
    html += "<span class=\"key\"><span class=\"swatch line\" style=\"background:" +
            seriesColour(static_cast<int>(r)) + "\"></span>run " + std::to_string(runs[r].run) +
            "</span>";
  }
  html += "</div>";
  return html;
}

std::string makespanHistogram(const std::vector<RunRecord>& runs, int targetMakespan) {
  Frame frame;
  frame.height = 300.0;
  if (runs.empty()) return openSvg("histogram", frame) + "</svg>";
  double lowest = runs[0].best, highest = runs[0].best;
  for (const RunRecord& run : runs) {
    lowest = std::min(lowest, run.best);
    highest = std::max(highest, run.best);
  }
  const long long first = static_cast<long long>(std::floor(lowest));
  const long long values = static_cast<long long>(std::floor(highest)) - first + 1;
  long long binWidth = 1;
  if (values > kMaxBins) {
    binWidth = static_cast<long long>(
        std::ceil(niceTicks(0.0, static_cast<double>(values), kMaxBins / 2).at(1)));
  }
  const long long start = first - ((first % binWidth) + binWidth) % binWidth;
  const std::size_t binCount = static_cast<std::size_t>(
      (static_cast<long long>(std::floor(highest)) - start) / binWidth + 1);
  std::vector<int> reached(binCount, 0), missed(binCount, 0);
  int tallest = 1;
  for (const RunRecord& run : runs) {
    const std::size_t bin =
        static_cast<std::size_t>((static_cast<long long>(std::floor(run.best)) - start) / binWidth);
    ++(run.reachedTarget ? reached : missed)[bin];
    tallest = std::max(tallest, reached[bin] + missed[bin]);
  }
  frame.xLow = 0.0;
  frame.xHigh = static_cast<double>(binCount);
  frame.yLow = 0.0;
  frame.yHigh = tallest * 1.12;
  // Label every bin while the labels fit, otherwise every few.
  const std::size_t labelEvery = std::max<std::size_t>(1, (binCount + 19) / 20);
  std::vector<double> xTicks;
  std::vector<std::string> xLabels;
  for (std::size_t b = 0; b < binCount; b += labelEvery) {
    const long long low = start + static_cast<long long>(b) * binWidth;
    xTicks.push_back(static_cast<double>(b) + 0.5);
    xLabels.push_back(binWidth == 1
                          ? std::to_string(low)
                          : std::to_string(low) + "-" + std::to_string(low + binWidth - 1));
  }
  std::string svg = openSvg("histogram", frame);
  svg += axes(frame, xTicks, xLabels, "best makespan of a run", "runs", true);
  const double slot = frame.x(1.0) - frame.x(0.0);
  const double gap = std::min(slot * 0.15, 8.0);
  for (std::size_t b = 0; b < binCount; ++b) {
    const int total = reached[b] + missed[b];
    if (total == 0) continue;
    const long long low = start + static_cast<long long>(b) * binWidth;
    const double x = frame.x(static_cast<double>(b)) + gap / 2.0;
    const std::string range =
        binWidth == 1 ? std::to_string(low)
                      : std::to_string(low) + " to " + std::to_string(low + binWidth - 1);
    svg += "<g class=\"bin\"><title>" + range + ": " + std::to_string(total) + " run" +
           (total == 1 ? "" : "s") + "</title>";
    if (missed[b] > 0) {
      svg += "<rect class=\"bar missed\" x=\"" + coordinate(x) + "\" y=\"" +
             coordinate(frame.y(total)) + "\" width=\"" + coordinate(slot - gap) + "\" height=\"" +
             coordinate(frame.y(reached[b]) - frame.y(total)) + "\"/>";
    }
    if (reached[b] > 0) {
      svg += "<rect class=\"bar reached\" x=\"" + coordinate(x) + "\" y=\"" +
             coordinate(frame.y(reached[b])) + "\" width=\"" + coordinate(slot - gap) +
             "\" height=\"" + coordinate(frame.y(0.0) - frame.y(reached[b])) + "\"/>";
    }
    svg += text("bar-count", x + (slot - gap) / 2.0, frame.y(total) - 5.0, "middle",
                std::to_string(total));
    svg += "</g>";
  }
  // The target falls after the last value that reaches it.
  const double targetX = (static_cast<double>(targetMakespan) + 1.0 - static_cast<double>(start)) /
                         static_cast<double>(binWidth);
  if (targetX >= 0.0 && targetX <= frame.xHigh) {
    svg += line("target", frame.x(targetX), kTop, frame.x(targetX), frame.height - kBottom);
    svg += text("target-label", frame.x(targetX) + 4.0, kTop + 10.0, "start",
                "target " + std::to_string(targetMakespan));
  }
  svg += "</svg>";
  return svg;
}
