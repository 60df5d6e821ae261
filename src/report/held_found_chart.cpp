// Held and found optimal schedules against evaluations, runs sampled on one grid.
#include "report/held_found_chart.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "analysis/campaign_statistics.h"
#include "report/chart_frame.h"
#include "report/chart_support.h"
#include "report/markup.h"
#include "report/svg_elements.h"

namespace jobshop {

namespace {

// Enough points for a smooth step on a full-width chart, few enough to keep the page small.
constexpr int kGridSteps = 160;

using Member = int GenerationTrace::*;

struct Grid {
  std::vector<double> evaluations;  // ascending, from 0 to the most a run spent
  std::vector<const RunTrace*> traces;
  int highest = 0;  // the most found (or held) in any row
};

Grid gridOf(const std::vector<RunRecord>& runs) {
  Grid grid;
  std::int64_t most = 1;
  for (const RunRecord& run : runs) {
    if (run.trace.empty()) continue;
    grid.traces.push_back(&run.trace);
    most = std::max(most, run.trace.back().evaluations);
    for (const GenerationTrace& row : run.trace)
      grid.highest = std::max({grid.highest, row.found, row.held});
  }
  for (int k = 0; k <= kGridSteps; ++k)
    grid.evaluations.push_back(static_cast<double>(most) * k / kGridSteps);
  return grid;
}

// The value of the trace's last row at or before evaluations; nothing before its first row.
std::optional<double> valueAt(const RunTrace& trace, double evaluations, Member member) {
  const auto after = std::upper_bound(trace.begin(), trace.end(), evaluations,
                                      [](double e, const GenerationTrace& row) {
                                        return e < static_cast<double>(row.evaluations);
                                      });
  if (after == trace.begin()) return std::nullopt;
  return static_cast<double>((*std::prev(after)).*member);
}

// A step path through (x, y) points: level until the next point, then up or down to it.
class StepPath {
 public:
  explicit StepPath(const ChartFrame& frame) : frame_(frame) {}
  void add(double evaluations, double value) {
    const double x = frame_.x(evaluations);
    const double y = frame_.y(value);
    if (path_.empty()) {
      path_ += "M";
      path_ += coordinate(x);
      path_ += ' ';
      path_ += coordinate(y);
    } else if (y != lastY_) {
      path_ += " H";
      path_ += coordinate(x);
      path_ += " V";
      path_ += coordinate(y);
    }
    lastX_ = x;
    lastY_ = y;
  }
  std::string finished() {
    if (path_.empty()) return path_;
    path_ += " H";
    path_ += coordinate(lastX_);
    return path_;
  }

 private:
  const ChartFrame& frame_;
  std::string path_;
  double lastX_ = 0.0, lastY_ = 0.0;
};

std::string pathElement(const std::string& className, const std::string& d) {
  return "<path class=\"" + className + "\" d=\"" + d + "\"/>";
}

std::string runLines(const ChartFrame& frame, const Grid& grid, Member member,
                     const char* measure) {
  std::string svg;
  const std::size_t drawn = std::min(grid.traces.size(), kHeldFoundDrawnRuns);
  for (std::size_t r = 0; r < drawn; ++r) {
    StepPath path(frame);
    for (const double e : grid.evaluations)
      if (const std::optional<double> value = valueAt(*grid.traces[r], e, member))
        path.add(e, *value);
    svg += pathElement(std::string("run-line ") + measure, path.finished());
  }
  return svg;
}

// The median's step path and the band between the quartiles, closed back along the lower one.
std::string medianWithBand(const ChartFrame& frame, const Grid& grid, Member member,
                           const char* measure) {
  StepPath median(frame);
  StepPath upper(frame);
  std::vector<std::pair<double, double>> lower;  // (evaluations, lower quartile), ascending
  for (const double e : grid.evaluations) {
    std::vector<double> values;
    for (const RunTrace* trace : grid.traces)
      if (const std::optional<double> value = valueAt(*trace, e, member)) values.push_back(*value);
    const std::optional<Spread> spread = spreadOf(values);
    if (!spread) continue;
    median.add(e, spread->median);
    upper.add(e, spread->upperQuartile);
    lower.emplace_back(e, spread->lowerQuartile);
  }
  std::string band = upper.finished();
  // Back along the lower quartile, as a step too: each value holds until the next point. The
  // last grid point is at or after every run's first row, so lower is never empty.
  const auto point = [&](const char* command, double value) {
    band += command;
    band += coordinate(value);
  };
  point(" L", frame.x(lower.back().first));
  point(" ", frame.y(lower.back().second));
  for (std::size_t k = lower.size() - 1; k-- > 0;) {
    point(" V", frame.y(lower[k].second));
    point(" H", frame.x(lower[k].first));
  }
  return pathElement(std::string("quartile-band ") + measure, band + " Z") +
         pathElement(std::string("median-line ") + measure, median.finished());
}

// "250k", "1.5M": evaluations run to millions, whose digits would crowd the axis.
std::string evaluationLabel(double value) {
  if (value >= 1e6) return tickLabel(value / 1e6) + "M";
  if (value >= 1e3) return tickLabel(value / 1e3) + "k";
  return tickLabel(value);
}

std::string axes(const ChartFrame& frame) {
  std::vector<double> ticks;
  std::vector<std::string> labels;
  for (const double tick : niceTicks(0.0, frame.xHigh, 7)) {
    ticks.push_back(tick);
    labels.push_back(evaluationLabel(tick));
  }
  return chartAxes(frame, ticks, labels, "evaluations spent", "distinct schedules \u2264 target",
                   true);
}

}  // namespace

std::string heldFoundChart(const std::vector<RunRecord>& runs) {
  const Grid grid = gridOf(runs);
  if (grid.traces.empty()) return {};
  ChartFrame frame;
  frame.height = 340.0;
  frame.xHigh = grid.evaluations.back();
  frame.yHigh = std::max(grid.highest, 1);
  const Member found = &GenerationTrace::found;
  const Member held = &GenerationTrace::held;
  return svgOpen("held-found", frame.width, frame.height) + axes(frame) +
         medianWithBand(frame, grid, found, "found-count") +
         medianWithBand(frame, grid, held, "held-count") +
         runLines(frame, grid, found, "found-count") + runLines(frame, grid, held, "held-count") +
         "</svg>";
}

std::string heldFoundLegend() {
  return "<div class=\"legend\"><span class=\"key\"><span class=\"swatch line "
         "held-count\"></span>held "
         "in the population</span><span class=\"key\"><span class=\"swatch line "
         "found-count\"></span>"
         "found so far</span><span class=\"key\"><span class=\"swatch band\"></span>between the "
         "quartiles across runs; bold: the median, thin: each run</span></div>";
}

}  // namespace jobshop
