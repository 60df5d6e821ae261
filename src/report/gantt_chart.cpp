// The Gantt chart of one rebuilt schedule as inline SVG: one row per machine, one colour per job,
// a time axis, and the job's number on every bar wide enough to hold it.
#include "report/gantt_chart.h"

#include <algorithm>

#include "report/chart_support.h"
#include "report/markup.h"

namespace {

constexpr double kWidth = 1060.0;
constexpr double kLeft = 48.0;
constexpr double kRight = 24.0;
constexpr double kTop = 8.0;
constexpr double kRowHeight = 24.0;
constexpr double kRowGap = 5.0;
constexpr double kAxisHeight = 30.0;
// Room a label needs per digit at the bars' font size, and around it.
constexpr double kDigitWidth = 7.0;
constexpr double kLabelPadding = 4.0;

}  // namespace

std::string ganttChart(const SemiActiveSchedule& schedule, const Instance& instance) {
  const double span = std::max(schedule.makespan, 1);
  const double plotWidth = kWidth - kLeft - kRight;
  const double scale = plotWidth / span;
  const double rowsHeight = instance.machines * (kRowHeight + kRowGap) - kRowGap;
  const double height = kTop + rowsHeight + kAxisHeight;
  std::string svg = "<svg class=\"gantt\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    coordinate(kWidth) + "\" height=\"" + coordinate(height) + "\" viewBox=\"0 0 " +
                    coordinate(kWidth) + " " + coordinate(height) + "\">";
  const double axisY = kTop + rowsHeight + 4.0;
  for (double tick : niceTicks(0.0, span, 12)) {
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
    const double width = (op.end - op.start) * scale;
    const double y = kTop + (op.machine - 1) * (kRowHeight + kRowGap);
    const std::string label = std::to_string(op.job);
    svg += "<g><title>job " + label + ", operation " + std::to_string(op.operation) + ", machine " +
           std::to_string(op.machine) + ": " + std::to_string(op.start) + " to " +
           std::to_string(op.end) + "</title>";
    svg += "<rect class=\"operation\" x=\"" + coordinate(x) + "\" y=\"" + coordinate(y) +
           "\" width=\"" + coordinate(width) + "\" height=\"" + coordinate(kRowHeight) +
           "\" fill=\"" + jobColour(op.job) + "\"/>";
    if (width >= static_cast<double>(label.size()) * kDigitWidth + kLabelPadding) {
      svg += "<text class=\"bar-label\" x=\"" + coordinate(x + width / 2.0) + "\" y=\"" +
             coordinate(y + kRowHeight / 2.0 + 4.0) + "\" text-anchor=\"middle\">" + label +
             "</text>";
    }
    svg += "</g>";
  }
  svg += "</svg>";
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
