// The Gantt chart of one rebuilt schedule as inline SVG: one row per machine, one colour per job,
// a titled time axis, and the job's number on every bar wide enough to hold it.
#include "report/gantt_chart.h"

#include <algorithm>
#include <cstddef>

#include "report/chart_frame.h"
#include "report/chart_support.h"
#include "report/svg_elements.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

constexpr double kLeft = 48.0;
constexpr double kRight = 24.0;
constexpr double kTop = 8.0;
constexpr double kRowHeight = 24.0;
constexpr double kRowGap = 5.0;
constexpr double kAxisHeight = 48.0;
// Room a label needs per digit at the bars' two font sizes (12 px and 11 px, a digit 0.64 em wide
// in the page's face), and around it. The small size is the least the page draws text at.
constexpr double kDigitWidth = 7.7;
constexpr double kSmallDigitWidth = 7.0;
constexpr double kLabelPadding = 3.0;
// A wide chart stops growing here; bars still too narrow keep their number in the tooltip.
constexpr double kMaxWidth = 8000.0;

double labelWidth(std::size_t digits, double digitWidth) {
  return static_cast<double>(digits) * digitWidth + kLabelPadding;
}

// Beyond the distinct colours the number is what tells jobs apart, so the chart widens until the
// typical operation holds its number at the small size.
double chartWidth(const SemiActiveSchedule& schedule, const Instance& instance, double span) {
  if (instance.jobs <= kDistinctJobColours || schedule.operations.empty()) return kChartWidth;
  std::vector<int> durations;
  for (const ScheduledOperation& op : schedule.operations) durations.push_back(op.end - op.start);
  const auto quarter = static_cast<std::ptrdiff_t>(durations.size() / 4);
  std::nth_element(durations.begin(), durations.begin() + quarter, durations.end());
  const double shortish = std::max(durations[durations.size() / 4], 1);
  const double needed =
      labelWidth(std::to_string(instance.jobs).size(), kSmallDigitWidth) / shortish * span;
  return std::clamp(needed + kLeft + kRight, kChartWidth, kMaxWidth);
}

// The chart's size and scale for one schedule.
struct GanttLayout {
  double span = 1.0;
  double width = kChartWidth;
  bool wide = false;
  double plotWidth = 0.0;
  double scale = 0.0;
  double rowsHeight = 0.0;
  double height = 0.0;
  double axisY = 0.0;
};

// The top of machine `machine`'s row: rows have one height whatever the schedule.
double rowTop(int machine) { return kTop + (machine - 1) * (kRowHeight + kRowGap); }

GanttLayout layOut(const SemiActiveSchedule& schedule, const Instance& instance) {
  GanttLayout layout;
  layout.span = std::max(schedule.makespan, 1);
  layout.width = chartWidth(schedule, instance, layout.span);
  layout.wide = layout.width > kChartWidth;
  layout.plotWidth = layout.width - kLeft - kRight;
  layout.scale = layout.plotWidth / layout.span;
  layout.rowsHeight = instance.machines * (kRowHeight + kRowGap) - kRowGap;
  layout.height = kTop + layout.rowsHeight + kAxisHeight;
  layout.axisY = kTop + layout.rowsHeight + 4.0;
  return layout;
}

// Grid lines with their times, the makespan as a dashed line with its value, and the axis title.
std::string timeAxis(const GanttLayout& layout, int makespan) {
  std::string svg;
  const int tickCount = layout.wide ? static_cast<int>(layout.width / 90.0) : 12;
  for (double tick : niceTicks(0.0, layout.span, tickCount)) {
    const double x = kLeft + tick * layout.scale;
    svg += svgLine("grid", x, kTop, x, layout.axisY);
    if (layout.span - tick > layout.span / 20.0)
      svg += svgText("tick", x, layout.axisY + 14.0, "middle", tickLabel(tick));
  }
  const double endX = kLeft + layout.span * layout.scale;
  svg += svgLine("makespan", endX, kTop - 4.0, endX, layout.axisY);
  svg += svgText("tick strong", endX, layout.axisY + 14.0, "middle", groupedNumber(makespan));
  svg += svgText("axis-title", kLeft + layout.plotWidth / 2.0, layout.axisY + 36.0, "middle",
                 "time (the dashed line is the makespan)");
  return svg;
}

std::string machineLanes(const GanttLayout& layout, int machines) {
  std::string svg;
  for (int m = 1; m <= machines; ++m) {
    const double y = rowTop(m);
    // Appended rather than "M" + std::to_string(m), which g++ 12 wrongly warns about (-Wrestrict).
    std::string label = "M";
    label += std::to_string(m);
    svg += svgText("row-label", kLeft - 8.0, y + kRowHeight / 2.0 + 4.0, "end", label);
    svg += svgRect("lane", kLeft, y, layout.plotWidth, kRowHeight);
  }
  return svg;
}

// The bar with the job's number on it at the size it fits, or none when it fits neither.
std::string operationBar(const GanttLayout& layout, const ScheduledOperation& op, bool outlined) {
  const double x = kLeft + op.start * layout.scale;
  const double barWidth = (op.end - op.start) * layout.scale;
  const double y = rowTop(op.machine);
  const std::string label = std::to_string(op.job);
  const std::string colour = jobColour(op.job);
  std::string svg = "<g><title>job " + label + ", operation " + std::to_string(op.operation) +
                    ", machine " + std::to_string(op.machine) + ": " + std::to_string(op.start) +
                    " to " + std::to_string(op.end) + "</title>";
  svg += svgRect(outlined ? "operation differs" : "operation", x, y, barWidth, kRowHeight, colour);
  const char* size = barWidth >= labelWidth(label.size(), kDigitWidth)        ? ""
                     : barWidth >= labelWidth(label.size(), kSmallDigitWidth) ? " small"
                                                                              : nullptr;
  if (size != nullptr) {
    svg += svgText(std::string("bar-label") + size + (isDarkColour(colour) ? " on-dark" : ""),
                   x + barWidth / 2.0, y + kRowHeight / 2.0 + 4.0, "middle", label);
  }
  return svg + "</g>";
}

}  // namespace

std::string ganttChart(const SemiActiveSchedule& schedule, const Instance& instance,
                       const std::vector<bool>& outlined) {
  const GanttLayout layout = layOut(schedule, instance);
  std::string svg = layout.wide ? "<div class=\"scroll\">" : "";
  svg += svgOpen(layout.wide ? "gantt wide" : "gantt", layout.width, layout.height);
  svg += timeAxis(layout, schedule.makespan);
  svg += machineLanes(layout, instance.machines);
  for (std::size_t k = 0; k < schedule.operations.size(); ++k) {
    svg += operationBar(layout, schedule.operations[k], k < outlined.size() && outlined[k]);
  }
  svg += "</svg>";
  if (layout.wide) svg += "</div>";
  return svg;
}

std::vector<bool> operationsInCells(const SemiActiveSchedule& schedule,
                                    const std::vector<int>& sequences,
                                    const std::vector<bool>& differing, int jobs) {
  std::vector<bool> operations(schedule.operations.size(), false);
  const auto width = static_cast<std::size_t>(jobs);
  // Job-major: a job's operations are M in a row from (job - 1) * M.
  const std::size_t machines = schedule.operations.size() / width;
  for (std::size_t c = 0; c < differing.size() && c < sequences.size(); ++c) {
    if (!differing[c]) continue;
    const int machine = static_cast<int>(c / width) + 1;
    const auto from = static_cast<std::size_t>(sequences[c] - 1) * machines;
    for (std::size_t k = from; k < from + machines && k < operations.size(); ++k) {
      if (schedule.operations[k].machine == machine) operations[k] = true;
    }
  }
  return operations;
}

std::string jobLegend(int jobs) {
  std::string html = "<div class=\"legend\">";
  for (int j = 1; j <= jobs; ++j) {
    html += "<span class=\"key\"><span class=\"swatch\" style=\"background:" + jobColour(j) +
            "\"></span>job " + std::to_string(j) + "</span>";
  }
  html += "</div>";
  return html;
}

}  // namespace jobshop
