#include "report/convergence_plot.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "report/chart_frame.h"
#include "report/chart_support.h"
#include "report/convergence_range.h"
#include "report/label_placement.h"
#include "report/markup.h"
#include "report/svg_elements.h"
#include "results/execution_record.h"
#include "results/result_files.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

constexpr int kLegendLimit = 40;
// Room right of the plot for the target's label, clear of the lines' ends.
constexpr double kLabelMargin = 92.0;
// The generation axis turns logarithmic when the longest run is this many times the median.
constexpr double kLogRatio = 5.0;
constexpr int kLogMinimumGenerations = 50;
// Ends that share a mark are drawn in this neutral colour rather than one run's.
constexpr const char* kSharedEndColour = "#3a4150";
// The font sizes the page's style gives the labels placed around the lines' ends.
constexpr double kEndCountFont = 11.0;
constexpr double kTargetLabelFont = 13.0;
// A shared end's count stands this far right of and above its tick.
constexpr double kEndCountOffset = 6.0;

bool endRecorded(const RunRecord& run) { return run.logged && run.logged->generations; }

// The generation a run ended: recorded when the folder has a record, otherwise only its last
// improvement is known.
int endGeneration(const RunRecord& run) {
  const int last = run.progress.empty() ? 0 : run.progress.back().generation;
  if (endRecorded(run)) return std::max(last, static_cast<int>(*run.logged->generations));
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

std::vector<RunRecord> plottedRuns(const std::vector<RunRecord>& runs) {
  return {runs.begin(),
          runs.begin() + static_cast<std::ptrdiff_t>(std::min(runs.size(), kPlottedRuns))};
}

std::string targetText(int targetMakespan) { return "target " + groupedNumber(targetMakespan); }

ChartFrame convergenceFrame(const std::vector<RunRecord>& runs, double target) {
  ChartFrame frame;
  frame.height = 380.0;
  // A long target ("target 3,104") widens the margin so that its label stays inside the chart.
  frame.right = std::max(kLabelMargin,
                         8.0 + textWidth(targetText(static_cast<int>(target)), kTargetLabelFont));
  const ConvergenceRange range = convergenceRange(runs, target);
  frame.yLow = range.low;
  frame.yHigh = range.high;
  int lastGeneration = 0;
  for (const RunRecord& run : runs) {
    if (!run.progress.empty()) lastGeneration = std::max(lastGeneration, endGeneration(run));
  }
  frame.xHigh = std::max(lastGeneration, 1);
  frame.logX = logarithmicGenerations(runs);
  return frame;
}

// A makespan's height, on the top edge when the range cuts it off.
double clampedY(const ChartFrame& frame, double makespan) {
  return frame.y(std::min(makespan, frame.yHigh));
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

// Two short slanted strokes across the top of the y axis: the values above are not to scale.
std::string axisBreak(const ChartFrame& frame) {
  std::string svg;
  for (double offset : {0.0, 6.0}) {
    const double y = frame.top + 6.0 + offset;
    svg += svgLine("axis-break", kFrameLeft - 6.0, y + 3.0, kFrameLeft + 6.0, y - 3.0);
  }
  return svg + svgText("tick", kFrameLeft - 8.0, frame.top + 4.0, "end", "more");
}

std::string convergenceAxes(const ChartFrame& frame, int targetMakespan, bool cut) {
  const std::vector<double> xTicks = generationTicks(frame);
  std::string svg = chartAxes(frame, xTicks, labelsOf(xTicks),
                              frame.logX ? "generation (logarithmic scale)" : "generation",
                              "best makespan", false, targetMakespan);
  if (cut) svg += axisBreak(frame);
  return svg;
}

double targetLabelX(const ChartFrame& frame) { return frame.plotRight() + 8.0; }
double targetLabelBaseline(const ChartFrame& frame, int targetMakespan) {
  return frame.y(targetMakespan) + 4.0;
}

// Thin and over the runs' lines, so that it shows where they run along it.
std::string targetLine(const ChartFrame& frame, int targetMakespan) {
  const double right = frame.plotRight();
  const double targetY = frame.y(targetMakespan);
  return svgLine("target over", kFrameLeft, targetY, right, targetY) +
         svgText("target-label", targetLabelX(frame), targetLabelBaseline(frame, targetMakespan),
                 "start", targetText(targetMakespan));
}

std::string stepPath(const std::vector<ProgressStep>& steps, const ChartFrame& frame, double endX) {
  std::string path = std::string("M") + coordinate(frame.x(steps[0].generation)) + " " +
                     coordinate(clampedY(frame, steps[0].makespan));
  for (std::size_t s = 1; s < steps.size(); ++s) {
    path += " H";
    path += coordinate(frame.x(steps[s].generation));
    path += " V";
    path += coordinate(clampedY(frame, steps[s].makespan));
  }
  return path + " H" + coordinate(endX);
}

std::string runTitle(const RunRecord& run, int end) {
  const ProgressStep& last = run.progress.back();
  return "<title>run " + std::to_string(run.run) + ": best " + fixedNumber(last.makespan, 1) +
         " from generation " + groupedNumber(last.generation) + ", ended " +
         (endRecorded(run) ? "after generation " + groupedNumber(end)
                           : std::string("at an unknown generation")) +
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

std::string runLine(const RunRecord& run, const std::string& colour, const ChartFrame& frame,
                    double target) {
  const int end = endGeneration(run);
  return "<g>" + runTitle(run, end) + "<path class=\"series\" d=\"" +
         stepPath(run.progress, frame, frame.x(end)) + "\" stroke=\"" + colour + "\"/>" +
         reachedMark(run.progress, frame, target, colour) + "</g>";
}

// Runs that ended at one place, known or not, share one mark.
struct EndKey {
  bool recorded = false;
  int generation = 0;
  double makespan = 0.0;
  auto operator<=>(const EndKey&) const = default;
};

struct EndGroup {
  std::vector<int> runs;
  std::string colour;
};

std::map<EndKey, EndGroup> endGroups(const std::vector<RunRecord>& runs) {
  std::map<EndKey, EndGroup> groups;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (runs[r].progress.empty()) continue;
    EndGroup& group = groups[EndKey{endRecorded(runs[r]), endGeneration(runs[r]),
                                    runs[r].progress.back().makespan}];
    group.runs.push_back(runs[r].run);
    group.colour = group.runs.size() == 1 ? seriesColour(static_cast<int>(r)) : kSharedEndColour;
  }
  return groups;
}

std::string endTitle(const EndKey& key, const EndGroup& group) {
  std::string text = group.runs.size() == 1 ? "run " : "runs ";
  for (std::size_t k = 0; k < group.runs.size(); ++k) {
    text += (k == 0 ? "" : ", ") + std::to_string(group.runs[k]);
  }
  text += ": best " + plainNumber(key.makespan);
  text += key.recorded ? ", ended after generation " + groupedNumber(key.generation)
                       : ", last improved at generation " + groupedNumber(key.generation) +
                             ", ended at an unknown generation";
  return "<title>" + text + "</title>";
}

std::string endCountText(const EndGroup& group) {
  return countOf(static_cast<std::int64_t>(group.runs.size()), "run", "runs");
}

// Where a shared end's count would stand, right of and above its tick.
LabelArea wantedCountArea(const ChartFrame& frame, const EndKey& key, const EndGroup& group) {
  return textArea(frame.x(key.generation) + kEndCountOffset,
                  clampedY(frame, key.makespan) - kEndCountOffset, endCountText(group),
                  kEndCountFont);
}

// The shared ends' counts, placed clear of each other and of the target's label:
// ends at nearly one place would otherwise print their counts over one another. The rightmost end
// is placed first, so that a count moved further up belongs to an end further left and its leader
// passes left of the counts below it rather than through them.
struct PlacedCount {
  double baseline = 0.0;
  bool moved = false;  // off its wanted place, so that a leader shows whose it is
};

std::map<EndKey, PlacedCount> placedCounts(const ChartFrame& frame,
                                           const std::map<EndKey, EndGroup>& groups,
                                           int targetMakespan) {
  std::vector<const std::pair<const EndKey, EndGroup>*> shared;
  for (const auto& entry : groups) {
    if (entry.second.runs.size() > 1) shared.push_back(&entry);
  }
  std::stable_sort(shared.begin(), shared.end(), [](const auto* a, const auto* b) {
    return a->first.generation > b->first.generation;
  });
  std::vector<LabelArea> wanted;
  wanted.reserve(shared.size());
  for (const auto* entry : shared)
    wanted.push_back(wantedCountArea(frame, entry->first, entry->second));
  const LabelArea target = textArea(targetLabelX(frame), targetLabelBaseline(frame, targetMakespan),
                                    targetText(targetMakespan), kTargetLabelFont);
  const std::vector<double> tops = placeLabels(wanted, {target}, 0.0, frame.plotBottom());
  std::map<EndKey, PlacedCount> placed;
  for (std::size_t k = 0; k < shared.size(); ++k) {
    const EndKey& key = shared[k]->first;
    const double wantedBaseline = clampedY(frame, key.makespan) - kEndCountOffset;
    const bool moved = tops[k] != wanted[k].top;
    placed[key] = {moved ? wantedBaseline + (tops[k] - wanted[k].top) : wantedBaseline, moved};
  }
  return placed;
}

// A shared end's count, with a thin leader back to its tick when it had to move off its place.
std::string endCount(const ChartFrame& frame, const EndKey& key, const EndGroup& group,
                     const PlacedCount& count) {
  const double x = frame.x(key.generation);
  const double y = clampedY(frame, key.makespan);
  std::string svg;
  if (count.moved) {
    svg += svgLine("end-leader", x, y, x + kEndCountOffset - 1.0,
                   count.baseline - kEndCountFont / 3.0);
  }
  return svg +
         svgText("end-count", x + kEndCountOffset, count.baseline, "start", endCountText(group));
}

// A short upright tick where runs ended; an open ring where the files only say when they last
// improved. A mark shared by several runs says how many.
std::string endMark(const ChartFrame& frame, const EndKey& key, const EndGroup& group,
                    const PlacedCount* count) {
  const double x = frame.x(key.generation);
  const double y = clampedY(frame, key.makespan);
  std::string svg = "<g>" + endTitle(key, group);
  if (key.recorded) {
    svg += "<line class=\"series-end\" x1=\"" + coordinate(x) + "\" y1=\"" + coordinate(y - 5.0) +
           "\" x2=\"" + coordinate(x) + "\" y2=\"" + coordinate(y + 5.0) + "\" stroke=\"" +
           group.colour + "\"/>";
  } else {
    svg += "<circle class=\"unknown-end\" cx=\"" + coordinate(x) + "\" cy=\"" + coordinate(y) +
           "\" r=\"5\" stroke=\"" + group.colour + "\"/>";
  }
  if (count != nullptr) svg += endCount(frame, key, group, *count);
  return svg + "</g>";
}

}  // namespace

std::string convergencePlot(const std::vector<RunRecord>& runs, int targetMakespan) {
  const std::vector<RunRecord> plotted = plottedRuns(runs);
  const ChartFrame frame = convergenceFrame(plotted, targetMakespan);
  const bool cut = convergenceRange(plotted, targetMakespan).cut;
  std::string svg =
      svgOpen(frame.logX ? "convergence log" : "convergence", frame.width, frame.height);
  svg += convergenceAxes(frame, targetMakespan, cut);
  for (std::size_t r = 0; r < plotted.size(); ++r) {
    if (plotted[r].progress.empty()) continue;
    svg += runLine(plotted[r], seriesColour(static_cast<int>(r)), frame, targetMakespan);
  }
  svg += targetLine(frame, targetMakespan);
  const std::map<EndKey, EndGroup> groups = endGroups(plotted);
  const std::map<EndKey, PlacedCount> counts = placedCounts(frame, groups, targetMakespan);
  for (const auto& [key, group] : groups) {
    const auto count = counts.find(key);
    svg += endMark(frame, key, group, count == counts.end() ? nullptr : &count->second);
  }
  return svg + "</svg>";
}

std::string convergenceNote(const std::vector<RunRecord>& runs, std::optional<int> targetMakespan) {
  bool recorded = false;
  bool unrecorded = false;
  for (const RunRecord& run : runs) {
    if (run.progress.empty()) continue;
    (endRecorded(run) ? recorded : unrecorded) = true;
  }
  std::string note =
      "Best makespan of each run after each generation that improved it; a dot marks where a run "
      "first reached the target.";
  if (recorded) {
    note +=
        " A line runs on to the generation its run ended (from " +
        std::string(kExecutionRecordFileName) +
        "), where a short upright tick marks the end; runs that ended at the same place share one "
        "tick, with their count beside it.";
  }
  if (unrecorded) {
    note += std::string(recorded ? " For runs without a record" : " The result files do not say") +
            (recorded ? " the result files do not say when they ended: their lines stop at their "
                        "last improvement, marked by an open ring, and they ended at an unknown "
                        "generation after it."
                      : " when a run ended: each line stops at its run's last improvement, marked "
                        "by an open ring, and the run ended at an unknown generation after it.");
  }
  const std::vector<RunRecord> plotted = plottedRuns(runs);
  const std::optional<ConvergenceRange> range =
      targetMakespan ? std::optional(convergenceRange(plotted, *targetMakespan)) : std::nullopt;
  if (range && range->cut) {
    note += " Makespans above " + plainNumber(std::floor(range->high)) +
            " are cut off, so that the region near the target keeps its room: lines along the top "
            "edge (where the axis is broken) stand for higher values.";
  }
  if (runs.size() > kPlottedRuns) {
    note += " The first " + groupedNumber(static_cast<std::int64_t>(kPlottedRuns)) + " of the " +
            groupedNumber(static_cast<std::int64_t>(runs.size())) +
            " runs are drawn, so that this page stays small; " + kProgressFileName +
            " holds every run's progress.";
  }
  if (logarithmicGenerations(plotted)) {
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
