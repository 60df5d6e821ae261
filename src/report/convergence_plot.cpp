#include "report/convergence_plot.h"

#include <algorithm>
#include <cmath>

#include "report/chart_frame.h"
#include "report/chart_support.h"
#include "report/markup.h"
#include "report/svg_elements.h"
#include "results/result_files.h"

namespace jobshop {

namespace {

constexpr int kLegendLimit = 40;
// Room right of the plot for the target's label, clear of the lines' ends.
constexpr double kLabelMargin = 92.0;
// The generation axis turns logarithmic when the longest run is this many times the median.
constexpr double kLogRatio = 5.0;
constexpr int kLogMinimumGenerations = 50;

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

// Spans every makespan of every progress record and the target, and every run's last generation.
ChartFrame convergenceFrame(const std::vector<RunRecord>& runs, double target) {
  ChartFrame frame;
  frame.height = 380.0;
  frame.right = kLabelMargin;
  double lowest = target;
  double highest = target;
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
  return frame;
}

// 0, 1, 2, 5, 10, 20, 50, ... up to high, skipping those that would crowd the previous label.
std::vector<double> logTicks(const ChartFrame& frame) {
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

std::vector<double> generationTicks(const ChartFrame& frame) {
  if (frame.logX) return logTicks(frame);
  std::vector<double> ticks;
  for (double tick : niceTicks(0.0, frame.xHigh, 10)) {
    if (tick == std::floor(tick)) ticks.push_back(tick);
  }
  return ticks;
}

std::vector<std::string> labelsOf(const std::vector<double>& ticks) {
  std::vector<std::string> labels;
  labels.reserve(ticks.size());
  for (double tick : ticks) labels.push_back(tickLabel(tick));
  return labels;
}

// The axes, then the target line beneath the runs' lines, so that runs that reach the target stay
// visible along it.
std::string convergenceBackground(const ChartFrame& frame, int targetMakespan) {
  const std::vector<double> xTicks = generationTicks(frame);
  std::string svg = chartAxes(frame, xTicks, labelsOf(xTicks),
                              frame.logX ? "generation (logarithmic scale)" : "generation",
                              "best makespan", false);
  const double right = frame.plotRight();
  const double targetY = frame.y(targetMakespan);
  svg += svgLine("target", kFrameLeft, targetY, right, targetY);
  svg += svgText("target-label", right + 8.0, targetY + 4.0, "start",
                 "target " + std::to_string(targetMakespan));
  return svg;
}

std::string stepPath(const std::vector<ProgressStep>& steps, const ChartFrame& frame, double endX) {
  std::string path = std::string("M") + coordinate(frame.x(steps[0].generation)) + " " +
                     coordinate(frame.y(steps[0].makespan));
  for (std::size_t s = 1; s < steps.size(); ++s) {
    path += " H";
    path += coordinate(frame.x(steps[s].generation));
    path += " V";
    path += coordinate(frame.y(steps[s].makespan));
  }
  return path + " H" + coordinate(endX);
}

std::string runTitle(const RunRecord& run, int end) {
  const ProgressStep& last = run.progress.back();
  return "<title>run " + std::to_string(run.run) + ": best " + fixedNumber(last.makespan, 1) +
         " from generation " + std::to_string(last.generation) + ", ended " +
         (run.logged && run.logged->generations ? "after generation " + std::to_string(end)
                                                : std::string("at an unrecorded generation")) +
         "</title>";
}

// Where a run first reached the target, since lines that reach it run together along it.
std::string reachedMark(const std::vector<ProgressStep>& steps, const ChartFrame& frame,
                        double target, const std::string& colour) {
  const auto reached = std::find_if(steps.begin(), steps.end(), [&](const ProgressStep& step) {
    return step.makespan <= target;
  });
  if (reached == steps.end()) return {};
  return "<circle class=\"reached-mark\" cx=\"" + coordinate(frame.x(reached->generation)) +
         "\" cy=\"" + coordinate(frame.y(reached->makespan)) + "\" r=\"4\" fill=\"" + colour +
         "\"/>";
}

// The run's line, the dot where it reached the target, and a short upright bar where it stopped,
// so that a run that ended is seen to have ended.
std::string runLine(const RunRecord& run, const std::string& colour, const ChartFrame& frame,
                    double target) {
  const int end = endGeneration(run);
  const double endX = frame.x(end);
  const double endY = frame.y(run.progress.back().makespan);
  return "<g>" + runTitle(run, end) + "<path class=\"series\" d=\"" +
         stepPath(run.progress, frame, endX) + "\" stroke=\"" + colour + "\"/>" +
         reachedMark(run.progress, frame, target, colour) + "<line class=\"series-end\" x1=\"" +
         coordinate(endX) + "\" y1=\"" + coordinate(endY - 6.0) + "\" x2=\"" + coordinate(endX) +
         "\" y2=\"" + coordinate(endY + 6.0) + "\" stroke=\"" + colour + "\"/></g>";
}

}  // namespace

std::string convergencePlot(const std::vector<RunRecord>& runs, int targetMakespan) {
  const ChartFrame frame = convergenceFrame(runs, targetMakespan);
  std::string svg =
      svgOpen(frame.logX ? "convergence log" : "convergence", frame.width, frame.height);
  svg += convergenceBackground(frame, targetMakespan);
  for (std::size_t r = 0; r < std::min(runs.size(), kPlottedRuns); ++r) {
    if (runs[r].progress.empty()) continue;
    svg += runLine(runs[r], seriesColour(static_cast<int>(r)), frame, targetMakespan);
  }
  return svg + "</svg>";
}

std::string convergenceNote(const std::vector<RunRecord>& runs) {
  bool recorded = false;
  bool unrecorded = false;
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

}  // namespace jobshop
