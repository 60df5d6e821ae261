#include "report/makespan_histogram.h"

#include <algorithm>
#include <cmath>

#include "report/chart_frame.h"
#include "report/chart_support.h"
#include "report/svg_elements.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

// One bar per makespan value while there are at most this many values; wider ranges are binned.
constexpr int kMaxBins = 40;
// Fewer values than this are padded with empty ones, so that one value is not one wide block.
constexpr long long kMinSlots = 11;
// Labels of four-digit makespans need about this much room each to stay apart.
constexpr double kTickSpacing = 70.0;

// The runs counted into bins of binWidth whole makespans, the first starting at start.
struct Bins {
  long long start = 0;
  long long binWidth = 1;
  std::vector<int> reached, missed;
  int tallest = 1;

  std::size_t count() const { return reached.size(); }
  long long low(std::size_t bin) const { return start + static_cast<long long>(bin) * binWidth; }
};

long long wholeBest(const RunRecord& run) { return static_cast<long long>(std::floor(run.best)); }

// The target is on the axis too, so that the gap between it and the runs can be seen. The axis
// starts at the target, or at a lower best: below it lie makespans no run reached, and below a
// proven optimum makespans no schedule has. Padding and bins go upwards from there.
Bins binsFor(const std::vector<RunRecord>& runs, int targetMakespan) {
  long long lowest = targetMakespan;
  long long highest = targetMakespan;
  for (const RunRecord& run : runs) {
    lowest = std::min(lowest, wholeBest(run));
    highest = std::max(highest, wholeBest(run));
  }
  Bins bins;
  const long long values = highest - lowest + 1;
  if (values > kMaxBins) {
    bins.binWidth = static_cast<long long>(
        std::ceil(niceTicks(0.0, static_cast<double>(values), kMaxBins / 2).at(1)));
  } else if (values < kMinSlots) {
    highest = lowest + kMinSlots - 1;
  }
  bins.start = lowest;
  const std::size_t count = static_cast<std::size_t>((highest - bins.start) / bins.binWidth + 1);
  bins.reached.assign(count, 0);
  bins.missed.assign(count, 0);
  for (const RunRecord& run : runs) {
    const std::size_t bin = static_cast<std::size_t>((wholeBest(run) - bins.start) / bins.binWidth);
    ++(run.reachedTarget ? bins.reached : bins.missed)[bin];
    bins.tallest = std::max(bins.tallest, bins.reached[bin] + bins.missed[bin]);
  }
  return bins;
}

// The x axis is in makespans: whole value v owns [v - 0.5, v + 0.5], so that a bar of one value
// stands centred on it and a bar of a range covers every value in it.
ChartFrame histogramFrame(const Bins& bins) {
  ChartFrame frame;
  frame.height = 310.0;
  frame.top = 34.0;
  frame.xLow = static_cast<double>(bins.start) - 0.5;
  frame.xHigh = static_cast<double>(bins.low(bins.count())) - 0.5;
  frame.yLow = 0.0;
  frame.yHigh = bins.tallest * 1.12;
  return frame;
}

// Ticks at round makespans (steps of 1, 2 or 5 times a power of ten), whatever the bins are.
std::string histogramAxes(const ChartFrame& frame) {
  std::vector<double> xTicks;
  std::vector<std::string> xLabels;
  const int room = static_cast<int>((frame.plotRight() - kFrameLeft) / kTickSpacing);
  for (double tick : niceTicks(frame.xLow, frame.xHigh, std::max(room, 2))) {
    if (tick != std::floor(tick)) continue;
    xTicks.push_back(tick);
    xLabels.push_back(tickLabel(tick));
  }
  return chartAxes(frame, xTicks, xLabels, "best makespan of a run", "runs", true);
}

// The count above a bar stands this far over its top, and reaches this high above its baseline.
constexpr double kCountLift = 5.0;
constexpr double kCountHeight = 12.0;

int binTotal(const Bins& bins, std::size_t b) { return bins.reached[b] + bins.missed[b]; }

// Drawn beneath the bars, at the target's value on the axis; the line stops short of the count
// above the target's bar, so that the count stays legible.
std::string targetMarker(const ChartFrame& frame, const Bins& bins, int targetMakespan) {
  const double targetX = frame.x(targetMakespan);
  const bool roomRight = targetX + 110.0 <= frame.plotRight();
  const auto targetBin = static_cast<std::size_t>((targetMakespan - bins.start) / bins.binWidth);
  const int below = targetBin < bins.count() ? binTotal(bins, targetBin) : 0;
  const double lineEnd =
      below > 0 ? frame.y(below) - kCountLift - kCountHeight - 2.0 : frame.plotBottom();
  return svgLine("target", targetX, frame.top - 10.0, targetX, lineEnd) +
         svgText("target-label", roomRight ? targetX + 5.0 : targetX - 5.0, frame.top - 14.0,
                 roomRight ? "start" : "end", "target " + groupedNumber(targetMakespan));
}

std::string bar(const ChartFrame& frame, const Bins& bins, std::size_t b) {
  const int reached = bins.reached[b];
  const int total = binTotal(bins, b);
  const long long low = bins.low(b);
  const double left = frame.x(static_cast<double>(low) - 0.5);
  const double slot = frame.x(static_cast<double>(low + bins.binWidth) - 0.5) - left;
  const double gap = std::min(slot * 0.15, 8.0);
  const double x = left + gap / 2.0;
  const std::string range =
      bins.binWidth == 1 ? groupedNumber(low)
                         : groupedNumber(low) + " to " + groupedNumber(low + bins.binWidth - 1);
  std::string svg =
      "<g class=\"bin\"><title>" + range + ": " + countOf(total, "run", "runs") + "</title>";
  if (bins.missed[b] > 0) {
    svg += svgRect("bar missed", x, frame.y(total), slot - gap, frame.y(reached) - frame.y(total));
  }
  if (reached > 0) {
    svg += svgRect("bar reached", x, frame.y(reached), slot - gap, frame.y(0.0) - frame.y(reached));
  }
  svg += svgText("bar-count", x + (slot - gap) / 2.0, frame.y(total) - kCountLift, "middle",
                 groupedNumber(total));
  return svg + "</g>";
}

}  // namespace

std::string makespanHistogram(const std::vector<RunRecord>& runs, int targetMakespan) {
  if (runs.empty()) {
    const ChartFrame empty = histogramFrame(Bins{});
    return svgOpen("histogram", empty.width, empty.height) + "</svg>";
  }
  const Bins bins = binsFor(runs, targetMakespan);
  const ChartFrame frame = histogramFrame(bins);
  std::string svg = svgOpen("histogram", frame.width, frame.height);
  svg += histogramAxes(frame);
  svg += targetMarker(frame, bins, targetMakespan);
  for (std::size_t b = 0; b < bins.count(); ++b) {
    if (binTotal(bins, b) > 0) svg += bar(frame, bins, b);
  }
  return svg + "</svg>";
}

}  // namespace jobshop
