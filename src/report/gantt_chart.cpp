// The Gantt chart of one rebuilt schedule as inline SVG: one row per machine, one colour per job,
// a titled time axis, and the job's number on every bar wide enough to hold it.
#include "report/gantt_chart.h"

#include <algorithm>

#include "report/chart_support.h"
#include "report/markup.h"

namespace jobshop {

namespace {

constexpr double kWidth = 1060.0;
constexpr double kLeft = 48.0;
constexpr double kRight = 24.0;
constexpr double kTop = 8.0;
constexpr double kRowHeight = 24.0;
constexpr double kRowGap = 5.0;
constexpr double kAxisHeight = 48.0;
// Room a label needs per digit at the bars' two font sizes, and around it.
constexpr double kDigitWidth = 7.0;
constexpr double kSmallDigitWidth = 5.0;
constexpr double kLabelPadding = 3.0;
// A wide chart stops growing here; bars still too narrow keep their number in the tooltip.
constexpr double kMaxWidth = 8000.0;

double labelWidth(std::size_t digits, double digitWidth) {
  return static_cast<double>(digits) * digitWidth + kLabelPadding;
}

// Beyond the distinct colours the number is what tells jobs apart, so the chart widens until the
// typical operation holds its number at the small size.
double chartWidth(const SemiActiveSchedule& schedule, const Instance& instance, double span) {
  if (instance.jobs <= kDistinctJobColours || schedule.operations.empty()) return kWidth;
  std::vector<int> durations;
  for (const ScheduledOperation& op : schedule.operations) durations.push_back(op.end - op.start);
  std::nth_element(durations.begin(), durations.begin() + durations.size() / 4, durations.end());
  const double shortish = std::max(durations[durations.size() / 4], 1);
  const double needed =
      labelWidth(std::to_string(instance.jobs).size(), kSmallDigitWidth) / shortish * span;
  return std::clamp(needed + kLeft + kRight, kWidth, kMaxWidth);
}

}  // namespace

std::string ganttChart(const SemiActiveSchedule& schedule, const Instance& instance) {
  const double span = std::max(schedule.makespan, 1);
  const double width = chartWidth(schedule, instance, span);
  const bool wide = width > kWidth;
  const double plotWidth = width - kLeft - kRight;
  const double scale = plotWidth / span;
  const double rowsHeight = instance.machines * (kRowHeight + kRowGap) - kRowGap;
  const double height = kTop + rowsHeight + kAxisHeight;
  std::string svg = std::string(wide ? "<div class=\"scroll\">" : "") + "<svg class=\"gantt" +
                    (wide ? " wide" : "") + "\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    coordinate(width) + "\" height=\"" + coordinate(height) + "\" viewBox=\"0 0 " +
                    coordinate(width) + " " + coordinate(height) + "\">";
  const double axisY = kTop + rowsHeight + 4.0;
  for (double tick : niceTicks(0.0, span, wide ? static_cast<int>(width / 90.0) : 12)) {
    const double x = kLeft + tick * scale;
    svg += "<line class=\"grid\" x1=\"" + coordinate(x) + "\" y1=\"" + coordinate(kTop) +
           "\" x2=\"" + coordinate(x) + "\" y2=\"" + coordinate(axisY) + "\"/>";
    if (span - tick > span / 20.0) {
      svg += "<text class=\"tick\" x=\"" + coordinate(x) + "\" y=\"" + coordinate(axisY + 14.0) +
             "\" text-anchor=\"middle\">" + tickLabel(tick) + "</text>";
    }
  }
  const double endX = kLeft + span * scale;
  svg += "<line class=\"makespan\" x1=\"" + coordinate(endX) + "\" y1=\"" + coordinate(kTop - 4.0) +
         "\" x2=\"" + coordinate(endX) + "\" y2=\"" + coordinate(axisY) + "\"/>";
  svg += "<text class=\"tick strong\" x=\"" + coordinate(endX) + "\" y=\"" +
         coordinate(axisY + 14.0) + "\" text-anchor=\"middle\">" +
         std::to_string(schedule.makespan) + "</text>";
  svg += "<text class=\"axis-title\" x=\"" + coordinate(kLeft + plotWidth / 2.0) + "\" y=\"" +
         coordinate(axisY + 36.0) + "\" text-anchor=\"middle\">time (the dashed line is the " +
         "makespan)</text>";
  for (int m = 1; m <= instance.machines; ++m) {
    const double y = kTop + (m - 1) * (kRowHeight + kRowGap);
    svg += "<text class=\"row-label\" x=\"" + coordinate(kLeft - 8.0) + "\" y=\"" +
           coordinate(y + kRowHeight / 2.0 + 4.0) + "\" text-anchor=\"end\">M" + std::to_string(m) +
           "</text>";
    svg += "<rect class=\"lane\" x=\"" + coordinate(kLeft) + "\" y=\"" + coordinate(y) +
           "\" width=\"" + coordinate(plotWidth) + "\" height=\"" + coordinate(kRowHeight) + "\"/>";
  }
  for (const ScheduledOperation& op : schedule.operations) {
    const double x = kLeft + op.start * scale;
    const double barWidth = (op.end - op.start) * scale;
    const double y = kTop + (op.machine - 1) * (kRowHeight + kRowGap);
    const std::string label = std::to_string(op.job);
    const std::string colour = jobColour(op.job);
    svg += "<g><title>job " + label + ", operation " + std::to_string(op.operation) + ", machine " +
           std::to_string(op.machine) + ": " + std::to_string(op.start) + " to " +
           std::to_string(op.end) + "</title>";
    svg += "<rect class=\"operation\" x=\"" + coordinate(x) + "\" y=\"" + coordinate(y) +
           "\" width=\"" + coordinate(barWidth) + "\" height=\"" + coordinate(kRowHeight) +
           "\" fill=\"" + colour + "\"/>";
    const char* size = barWidth >= labelWidth(label.size(), kDigitWidth)        ? ""
                       : barWidth >= labelWidth(label.size(), kSmallDigitWidth) ? " small"
                                                                                : nullptr;
    if (size != nullptr) {
      svg += std::string("<text class=\"bar-label") + size +
             (isDarkColour(colour) ? " on-dark" : "") + "\" x=\"" + coordinate(x + barWidth / 2.0) +
             "\" y=\"" + coordinate(y + kRowHeight / 2.0 + 4.0) + "\" text-anchor=\"middle\">" +
             label + "</text>";
    }
    svg += "</g>";
  }
  svg += "</svg>";
  if (wide) svg += "</div>";
  return svg;
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
