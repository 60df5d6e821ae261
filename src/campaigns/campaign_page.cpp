// Tables and the two charts of the campaign page, in the report's style.
#include "campaigns/campaign_page.h"

#include <algorithm>
#include <cmath>

#include "report/chart_support.h"
#include "report/markup.h"
#include "report/report_style.h"
#include "report/svg_elements.h"

namespace jobshop {

namespace {

const char* const kCampaignStyle = R"css(
svg .rate { fill: #3b6fb6; }
svg .whisker { stroke: #1d2330; stroke-width: 1.4; }
svg .box { fill: #cfe0f5; stroke: #3b6fb6; stroke-width: 1.4; }
svg .median { stroke: #1d2330; stroke-width: 2.2; }
svg .target-line { stroke: #c0392b; stroke-width: 1.4; stroke-dasharray: 6 4; }
main { max-width: 1400px; }
td.name, th.name { text-align: left; }
table.settings td { white-space: nowrap; }
table.settings th { font-size: 13px; vertical-align: bottom; }
svg .run-mark { fill: #1d2330; opacity: 0.45; }
details.executions { font-size: 13px; }
details.executions a { margin-right: 6px; }
)css";

std::string number(const std::optional<double>& value, int decimals) {
  return value ? fixedNumber(*value, decimals) : "–";
}

std::string percent(double fraction) { return fixedNumber(100 * fraction, 0) + " %"; }

std::string settingRow(const SettingSummary& s) {
  std::string row = "<tr><td class=\"name\">" + escapeMarkup(s.setting) + "</td>";
  row += tableCell(std::to_string(s.finished) + " of " + std::to_string(s.planned));
  row += tableCell(std::to_string(s.runs));
  row += s.runs > 0 ? tableCell(std::to_string(s.runsReachingTarget) + " · " +
                                percent(static_cast<double>(s.runsReachingTarget) / s.runs) + " (" +
                                percent(s.successInterval.low) + "–" +
                                percent(s.successInterval.high) + ")")
                    : tableCell("–");
  if (s.bestMakespans) {
    const Spread& b = *s.bestMakespans;
    row += tableCell(plainNumber(b.lowest) + " / " + plainNumber(b.median) + " / " +
                     plainNumber(b.highest));
    row += tableCell(fixedNumber(b.mean, 1) + " ± " + fixedNumber(b.standardDeviation, 1));
  } else {
    row += tableCell("–") + tableCell("–");
  }
  row += s.distinctOptimaPerRun ? tableCell(fixedNumber(s.distinctOptimaPerRun->mean, 1) + " (" +
                                            plainNumber(s.distinctOptimaPerRun->lowest) + "–" +
                                            plainNumber(s.distinctOptimaPerRun->highest) + ")")
                                : tableCell("–");
  row += tableCell(escapeMarkup(distinctSchedulesText(s)));
  row += tableCell(number(s.meanAverageDistance, 2));
  row +=
      tableCell(number(s.medianTargetGeneration, 0) + " / " + number(s.medianTargetEvaluations, 0));
  row += tableCell(number(s.secondsPerExecution, 2)) + "</tr>";
  return row;
}

const char* const kTableHead =
    "<tr><th class=\"name\">setting</th><th>executions finished</th><th>runs</th>"
    "<th>runs reaching the target · rate (95 % interval)</th><th>best / median / worst</th>"
    "<th>mean ± sd</th><th>distinct optima per successful run: mean (min–max)</th>"
    "<th>distinct optimal schedules over all runs</th><th>mean average distance</th>"
    "<th>median generation / evaluations reaching the target</th>"
    "<th>seconds per execution</th></tr>";

constexpr double kLabelWidth = 170, kPlotWidth = 600, kRowHeight = 26;

constexpr double kChartWidth = kLabelWidth + kPlotWidth + 30;

// Horizontal bars of the success rate, each with its Wilson interval as a whisker.
std::string successChart(const std::vector<const SettingSummary*>& settings) {
  const double height = 40 + kRowHeight * static_cast<double>(settings.size());
  std::string svg = svgOpen("", kChartWidth, height);
  auto x = [](double fraction) { return kLabelWidth + fraction * kPlotWidth; };
  for (double tick : {0.0, 0.25, 0.5, 0.75, 1.0}) {
    svg += svgLine("grid", x(tick), 10, x(tick), height - 24);
    svg += svgText("tick", x(tick), height - 8, "middle", percent(tick));
  }
  for (std::size_t i = 0; i < settings.size(); ++i) {
    const SettingSummary& s = *settings[i];
    const double y = 12 + kRowHeight * static_cast<double>(i);
    svg += svgText("tick", kLabelWidth - 8, y + 15, "end", s.setting);
    if (s.runs == 0) continue;
    const double rate = static_cast<double>(s.runsReachingTarget) / s.runs;
    svg += "<g><title>" + escapeMarkup(s.setting) + ": " + std::to_string(s.runsReachingTarget) +
           " of " + std::to_string(s.runs) + " runs</title>" +
           svgRect("rate", x(0), y + 4, std::max(x(rate) - x(0), 0.0), kRowHeight - 10) + "</g>";
    const double middle = y + kRowHeight / 2 - 1;
    svg += svgLine("whisker", x(s.successInterval.low), middle, x(s.successInterval.high), middle);
    svg += svgLine("whisker", x(s.successInterval.low), middle - 5, x(s.successInterval.low),
                   middle + 5);
    svg += svgLine("whisker", x(s.successInterval.high), middle - 5, x(s.successInterval.high),
                   middle + 5);
  }
  return svg + "</svg>";
}

// One box per setting: quartiles, median, and whiskers to the best and worst run.
std::string boxPlots(const std::vector<const SettingSummary*>& settings,
                     const std::vector<CollectedRun>& runs, int target) {
  double low = target;
  double high = target;
  for (const SettingSummary* s : settings)
    if (s->bestMakespans) {
      low = std::min(low, s->bestMakespans->lowest);
      high = std::max(high, s->bestMakespans->highest);
    }
  if (high - low < 1) high = low + 1;
  const double margin = (high - low) * 0.05;
  low -= margin;
  high += margin;
  auto x = [&](double value) { return kLabelWidth + (value - low) / (high - low) * kPlotWidth; };
  const double height = 56 + kRowHeight * static_cast<double>(settings.size());
  std::string svg = svgOpen("", kChartWidth, height);
  for (double tick : niceTicks(low, high, 8)) {
    if (tick != std::floor(tick)) continue;  // makespans are whole numbers
    svg += svgLine("grid", x(tick), 10, x(tick), height - 40);
    svg += svgText("tick", x(tick), height - 26, "middle", tickLabel(tick));
  }
  svg += svgText("axis-title", kLabelWidth + kPlotWidth / 2, height - 6, "middle",
                 "best makespan of a run");
  svg += svgLine("target-line", x(target), 6, x(target), height - 40);
  svg += svgText("tick", x(target) + 4, 16, "start", "target " + std::to_string(target));
  for (std::size_t i = 0; i < settings.size(); ++i) {
    const SettingSummary& s = *settings[i];
    const double y = 22 + kRowHeight * static_cast<double>(i);
    svg += svgText("tick", kLabelWidth - 8, y + 15, "end", s.setting);
    if (!s.bestMakespans) continue;
    const Spread& b = *s.bestMakespans;
    const double middle = y + kRowHeight / 2 - 1;
    svg += "<g><title>" + escapeMarkup(s.setting) + ": best " + plainNumber(b.lowest) +
           ", median " + plainNumber(b.median) + ", worst " + plainNumber(b.highest) + "</title>";
    svg += svgLine("whisker", x(b.lowest), middle, x(b.highest), middle);
    svg += svgRect("box", x(b.lowerQuartile), y + 4,
                   std::max(x(b.upperQuartile) - x(b.lowerQuartile), 0.0), kRowHeight - 10);
    svg += svgLine("median", x(b.median), y + 4, x(b.median), y + kRowHeight - 6);
    svg += "</g>";
    // Every run as a dot, spread over the row's height so that equal values stay countable.
    int k = 0;
    for (const CollectedRun& run : runs) {
      if (run.execution->instance != s.instance || run.execution->setting != s.setting) continue;
      const double offset = static_cast<double>(k++ % 7) / 6.0 - 0.5;
      svg += "<circle class=\"run-mark\" cx=\"" + coordinate(x(run.bestMakespan)) + "\" cy=\"" +
             coordinate(middle + offset * (kRowHeight - 12)) + "\" r=\"2.2\"/>";
    }
  }
  return svg + "</svg>";
}

std::string executionLinks(const std::vector<CollectedRun>& runs, const std::string& instance,
                           const std::string& setting) {
  std::string links;
  std::string last;
  for (const CollectedRun& run : runs) {
    const PlannedExecution& e = *run.execution;
    if (e.instance != instance || e.setting != setting || e.folder == last) continue;
    last = e.folder;
    links += "<a href=\"" + escapeMarkup(e.folder) + "/report.html\">" +
             std::to_string(e.repetition) + "</a>";
  }
  return links;
}

}  // namespace

std::string campaignPage(const std::string& title, const CampaignCollection& collection) {
  int planned = 0;
  int finished = 0;
  std::vector<std::string> unfinished;
  for (const SettingSummary& s : collection.settings) {
    planned += s.planned;
    finished += s.finished;
    unfinished.insert(unfinished.end(), s.unfinished.begin(), s.unfinished.end());
  }
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"/><title>Campaign " +
      escapeMarkup(title) + "</title><style>" + kReportStyle + kCampaignStyle +
      "</style></head><body><main>";
  html += "<h1>Campaign " + escapeMarkup(title) + "</h1>";
  html += "<p class=\"meta\">" + std::to_string(finished) + " of " + std::to_string(planned) +
          " executions finished, " + std::to_string(collection.runs.size()) + " runs.</p>";
  if (!unfinished.empty()) {
    html += "<p class=\"note\">Not finished yet (left out of every figure): ";
    for (std::size_t i = 0; i < unfinished.size() && i < 30; ++i)
      html += (i ? ", " : "") + escapeMarkup(unfinished[i]);
    if (unfinished.size() > 30) html += " and " + std::to_string(unfinished.size() - 30) + " more";
    html += ".</p>";
  }
  if (!collection.problems.empty()) {
    html += "<div class=\"problems\"><h2>Files that disagree</h2><ul>";
    for (const std::string& problem : collection.problems)
      html += "<li>" + escapeMarkup(problem) + "</li>";
    html += "</ul></div>";
  }
  std::vector<std::string> instances;
  for (const SettingSummary& s : collection.settings)
    if (std::find(instances.begin(), instances.end(), s.instance) == instances.end())
      instances.push_back(s.instance);
  for (const std::string& instance : instances) {
    std::vector<const SettingSummary*> settings;
    for (const SettingSummary& s : collection.settings)
      if (s.instance == instance) settings.push_back(&s);
    const PlannedExecution& example = *settings.front()->example;
    html += "<h2 id=\"" + escapeMarkup(instance) + "\">" + escapeMarkup(instance) + "</h2>";
    html += "<p class=\"meta\">" + std::to_string(example.jobs) + " jobs × " +
            std::to_string(example.machines) + " machines, target " +
            std::to_string(example.target) + "</p>";
    html += "<div class=\"scroll\"><table class=\"settings\">";
    html += kTableHead;
    for (const SettingSummary* s : settings) html += settingRow(*s);
    html += "</table></div>";
    html += "<h3>Runs reaching the target</h3><div class=\"chart\">" + successChart(settings) +
            "</div>";
    html += "<h3>Best makespans</h3><div class=\"chart\">" +
            boxPlots(settings, collection.runs, example.target) + "</div>";
    html +=
        "<details class=\"executions\"><summary>Each execution's report (written by "
        "<code>jobshop-niching report --dir FOLDER</code>)</summary><ul>";
    for (const SettingSummary* s : settings)
      html += "<li>" + escapeMarkup(s->setting) + ": " +
              executionLinks(collection.runs, instance, s->setting) + "</li>";
    html += "</ul></details>";
  }
  return html + "</main></body></html>\n";
}

}  // namespace jobshop
