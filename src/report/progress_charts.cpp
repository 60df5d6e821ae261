// The two charts over all runs as inline SVG: the best makespan against the generation, one step
// line per run with the target as a horizontal line, and a histogram of the runs' best makespans.
#include "report/progress_charts.h"

#include <algorithm>
#include <cmath>

#include "report/chart_support.h"
#include "report/markup.h"
#include "results/result_files.h"

namespace jobshop {

namespace {

constexpr double kWidth = 1060.0;
constexpr double kLeft = 64.0;
constexpr double kRight = 24.0;
constexpr double kTop = 18.0;
constexpr double kBottom = 46.0;
constexpr int kLegendLimit = 40;
// One bar per makespan value while there are at most this many values; wider ranges are binned.
constexpr int kMaxBins = 40;
// Fewer values than this are padded with empty ones, so that one value is not one wide block.
constexpr long long kMinSlots = 11;
// Room right of the convergence plot for the target's label, clear of the lines' ends.
constexpr double kLabelMargin = 92.0;
// The generation axis turns logarithmic when the longest run is this many times the median.
constexpr double kLogRatio = 5.0;
constexpr int kLogMinimumGenerations = 50;

struct Frame {
  double width = kWidth;
  double height = 0.0;
  double top = kTop, right = kRight;
  double xLow = 0.0, xHigh = 1.0, yLow = 0.0, yHigh = 1.0;
  bool logX = false;
  double x(double value) const {
    const double share =
        logX ? std::log10(1.0 + value) / std::log10(1.0 + xHigh) : (value - xLow) / (xHigh - xLow);
    return kLeft + share * (width - kLeft - right);
  }
  double y(double value) const {
    return top + (yHigh - value) / (yHigh - yLow) * (height - top - kBottom);
  }
};

std::string openSvg(const std::string& className, const Frame& frame) {
  return "<svg class=\"" + className + "\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         coordinate(frame.width) + "\" height=\"" + coordinate(frame.height) + "\" viewBox=\"0 0 " +
         coordinate(frame.width) + " " + coordinate(frame.height) + "\">";
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
  const double right = frame.width - frame.right;
  for (double tick : niceTicks(frame.yLow, frame.yHigh, 6)) {
    if (wholeY && tick != std::floor(tick)) continue;
    svg += line("grid", kLeft, frame.y(tick), right, frame.y(tick));
    svg += text("tick", kLeft - 8.0, frame.y(tick) + 4.0, "end", tickLabel(tick));
  }
  for (std::size_t i = 0; i < xTicks.size(); ++i) {
    svg += line("axis", frame.x(xTicks[i]), bottom, frame.x(xTicks[i]), bottom + 5.0);
    svg += text("tick", frame.x(xTicks[i]), bottom + 18.0, "middle", xLabels[i]);
  }
  svg += line("axis", kLeft, bottom, right, bottom);
  svg += line("axis", kLeft, frame.top, kLeft, bottom);
  svg += text("axis-title", (kLeft + right) / 2.0, frame.height - 6.0, "middle", xTitle);
  svg +=
      "<text class=\"axis-title\" x=\"0\" y=\"0\" text-anchor=\"middle\" transform=\"translate(" +
      coordinate(16.0) + " " + coordinate((frame.top + bottom) / 2.0) + ") rotate(-90)\">" +
      escapeMarkup(yTitle) + "</text>";
  return svg;
}

// The generation a run ended: recorded when the folder has a record, otherwise only its last
// improvement is known.
int endGeneration(const RunRecord& run) {
  const int last = run.progress.empty() ? 0 : run.progress.back().generation;
  if (run.logged && run.logged->generations) {
    return std::max(last, static_cast<int>(*run.logged->generations));
  }
  return last;
}

bool logarithmicGenerations(const std::vector<RunRecord>& runs) {
  std::vector<int> ends;
  for (const RunRecord& run : runs) {
    if (!run.progress.empty()) ends.push_back(endGeneration(run));
  }
  if (ends.size() < 2) return false;
  std::sort(ends.begin(), ends.end());
  const double median = ends[ends.size() / 2];
  return ends.back() >= kLogMinimumGenerations && ends.back() > kLogRatio * std::max(median, 1.0);
}

// 0, 1, 2, 5, 10, 20, 50, ... up to high, skipping those that would crowd the previous label.
std::vector<double> logTicks(const Frame& frame) {
  std::vector<double> ticks{0.0};
  for (double power = 1.0; power <= frame.xHigh; power *= 10.0) {
    for (double factor : {1.0, 2.0, 5.0}) {
      const double tick = factor * power;
      if (tick > frame.xHigh) break;
      if (frame.x(tick) - frame.x(ticks.back()) >= 34.0) ticks.push_back(tick);
    }
  }
  return ticks;
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
  frame.right = kLabelMargin;
  const double target = targetMakespan;
  double lowest = target, highest = target;
  int lastGeneration = 0;
  for (const RunRecord& run : runs) {
    for (const ProgressStep& step : run.progress) {
      lowest = std::min(lowest, step.makespan);
      highest = std::max(highest, step.makespan);
    }
    if (!run.progress.empty()) lastGeneration = std::max(lastGeneration, endGeneration(run));
  }
  const double pad = std::max((highest - lowest) * 0.06, 1.0);
  frame.yLow = lowest - pad;
  frame.yHigh = highest + pad;
  frame.xHigh = std::max(lastGeneration, 1);
  frame.logX = logarithmicGenerations(runs);
  std::vector<double> xTicks;
  if (frame.logX) {
    xTicks = logTicks(frame);
  } else {
    for (double tick : niceTicks(0.0, frame.xHigh, 10)) {
      if (tick == std::floor(tick)) xTicks.push_back(tick);
    }
  }
  std::string svg = openSvg(frame.logX ? "convergence log" : "convergence", frame);
  svg += axes(frame, xTicks, labelsOf(xTicks),
              frame.logX ? "generation (logarithmic scale)" : "generation", "best makespan", false);
  const double right = frame.width - frame.right;
  // Beneath the lines, so that runs that reach the target stay visible along it.
  svg += line("target", kLeft, frame.y(target), right, frame.y(target));
  svg += text("target-label", right + 8.0, frame.y(target) + 4.0, "start",
              "target " + std::to_string(targetMakespan));
  for (std::size_t r = 0; r < std::min(runs.size(), kPlottedRuns); ++r) {
    const std::vector<ProgressStep>& steps = runs[r].progress;
    if (steps.empty()) continue;
    const std::string colour = seriesColour(static_cast<int>(r));
    const int end = endGeneration(runs[r]);
    std::string path = std::string("M") + coordinate(frame.x(steps[0].generation)) + " " +
                       coordinate(frame.y(steps[0].makespan));
    for (std::size_t s = 1; s < steps.size(); ++s) {
      path += " H";
      path += coordinate(frame.x(steps[s].generation));
      path += " V";
      path += coordinate(frame.y(steps[s].makespan));
    }
    const double endX = frame.x(end);
    const double endY = frame.y(steps.back().makespan);
    path += " H" + coordinate(endX);
    svg += "<g><title>run " + std::to_string(runs[r].run) + ": best " +
           fixedNumber(steps.back().makespan, 1) + " from generation " +
           std::to_string(steps.back().generation) + ", ended " +
           (runs[r].logged && runs[r].logged->generations
                ? "after generation " + std::to_string(end)
                : std::string("at an unrecorded generation")) +
           "</title>";
    svg += "<path class=\"series\" d=\"" + path + "\" stroke=\"" + colour + "\"/>";
    // Where a run first reached the target, since lines that reach it run together along it.
    const auto reached = std::find_if(steps.begin(), steps.end(), [&](const ProgressStep& step) {
      return step.makespan <= target;
    });
    if (reached != steps.end()) {
      svg += "<circle class=\"reached-mark\" cx=\"" + coordinate(frame.x(reached->generation)) +
             "\" cy=\"" + coordinate(frame.y(reached->makespan)) + "\" r=\"4\" fill=\"" + colour +
             "\"/>";
    }
    // A short upright bar where the run stopped: a run that ended is seen to have ended.
    svg += "<line class=\"series-end\" x1=\"" + coordinate(endX) + "\" y1=\"" +
           coordinate(endY - 6.0) + "\" x2=\"" + coordinate(endX) + "\" y2=\"" +
           coordinate(endY + 6.0) + "\" stroke=\"" + colour + "\"/></g>";
  }
  svg += "</svg>";
  return svg;
}

std::string convergenceNote(const std::vector<RunRecord>& runs) {
  bool recorded = false, unrecorded = false;
  for (const RunRecord& run : runs) {
    if (run.progress.empty()) continue;
    (run.logged && run.logged->generations ? recorded : unrecorded) = true;
  }
  std::string note =
      "Best makespan of each run after each generation that improved it, kept on to the "
      "generation the run ended, where a short upright bar marks its end; a dot marks where a run "
      "first reached the target";
  if (recorded && unrecorded) {
    note +=
        " (for runs without a record the result files do not say when they ended, so their "
        "lines end at their last improvement)";
  } else if (unrecorded) {
    note +=
        " (the result files do not say when a run ended, so each line ends at its last "
        "improvement)";
  }
  note += ".";
  if (runs.size() > kPlottedRuns) {
    note += " The first " + std::to_string(kPlottedRuns) + " of the " +
            std::to_string(runs.size()) + " runs are drawn, so that this page stays small; " +
            kProgressFileName + " holds every run's progress.";
  }
  if (logarithmicGenerations(runs)) {
    note += " The generation axis is logarithmic, since the longest run is far longer than most.";
  }
  return note;
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
  frame.height = 310.0;
  frame.top = 34.0;
  if (runs.empty()) return openSvg("histogram", frame) + "</svg>";
  // The target is on the axis too, so that the gap between it and the runs can be seen.
  long long lowest = targetMakespan, highest = targetMakespan;
  for (const RunRecord& run : runs) {
    lowest = std::min(lowest, static_cast<long long>(std::floor(run.best)));
    highest = std::max(highest, static_cast<long long>(std::floor(run.best)));
  }
  const long long values = highest - lowest + 1;
  long long binWidth = 1;
  if (values > kMaxBins) {
    binWidth = static_cast<long long>(
        std::ceil(niceTicks(0.0, static_cast<double>(values), kMaxBins / 2).at(1)));
  } else if (values < kMinSlots) {
    lowest -= (kMinSlots - values) / 2;
    highest = lowest + kMinSlots - 1;
  }
  const long long start = lowest - ((lowest % binWidth) + binWidth) % binWidth;
  const std::size_t binCount = static_cast<std::size_t>((highest - start) / binWidth + 1);
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
  // Where a whole value v stands on the axis: the middle of its share of its bin's slot.
  auto valueX = [&](long long value) {
    return frame.x((static_cast<double>(value - start) + 0.5) / static_cast<double>(binWidth));
  };
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
  // Beneath the bars: above a bar it points at the bar of the target value.
  const double targetX = valueX(targetMakespan);
  const double right = frame.width - frame.right;
  svg += line("target", targetX, frame.top - 10.0, targetX, frame.height - kBottom);
  const bool roomRight = targetX + 110.0 <= right;
  svg += text("target-label", roomRight ? targetX + 5.0 : targetX - 5.0, frame.top - 14.0,
              roomRight ? "start" : "end", "target " + std::to_string(targetMakespan));
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
  svg += "</svg>";
  return svg;
}

}  // namespace jobshop
