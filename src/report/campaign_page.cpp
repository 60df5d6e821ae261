// Tables and the two charts of the campaign page, in the report's style.
#include "report/campaign_page.h"

#include <algorithm>
#include <filesystem>

#include "report/campaign_charts.h"
#include "report/chart_support.h"
#include "report/comparison_table.h"
#include "report/distinct_schedules_text.h"
#include "report/enumeration_table.h"
#include "report/estimate_markup.h"
#include "report/markup.h"
#include "report/report_style.h"
#include "report/setting_measures_table.h"
#include "support/number_format.h"

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
table.settings td.wrap { white-space: normal; }
table.settings span.whole { white-space: nowrap; }
table.settings td.name { position: sticky; left: 0; background: #fff; }
table.settings th.name { position: sticky; left: 0; background: #e9ecf1; }
.chart { width: fit-content; max-width: 100%; box-sizing: border-box; }
.chart p.caption { contain: inline-size; }
.chart svg.wide { max-width: none; }
p.caption { font-size: 13px; color: #5a6272; margin: 4px 0 14px; }
svg .run-mark { fill: #1d2330; opacity: 0.45; }
details.executions { font-size: 13px; }
details.executions a, details.executions span.missing { margin-right: 6px; }
details.executions span.missing { color: #5a6272; }
table.comparisons td.significant { background: #fdf1d6; }
table.comparisons td.name { position: static; white-space: normal; }
)css";

std::string number(const std::optional<double>& value, int decimals) {
  return value ? fixedNumber(*value, decimals) : "–";
}

std::string counted(std::size_t n, const char* singular, const char* plural) {
  return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

std::string percent(double fraction) { return fixedNumber(100 * fraction, 0) + " %"; }

// "2 · 33 %" and "(10 %–70 %)", each kept whole, the second under the first in a narrow table.
std::string reachedCell(const SettingSummary& s) {
  return "<span class=\"whole\">" + std::to_string(s.runsReachingTarget) + " · " +
         percent(*s.targetRate) + "</span> <span class=\"whole\">(" +
         percent(s.successInterval.low) + "–" + percent(s.successInterval.high) + ")</span>";
}

std::string settingRow(const SettingSummary& s) {
  std::string row = "<tr><td class=\"name\">" + escapeMarkup(s.setting) + "</td>";
  row += tableCell(std::to_string(s.finished) + " of " + std::to_string(s.planned));
  row += tableCell(std::to_string(s.runs));
  row += s.targetRate ? tableCell(reachedCell(s), "wrap") : tableCell("–");
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

// Short headings, so that the table reads at 800 px; each says the rest when pointed at.
const char* const kTableHead =
    "<tr><th class=\"name\">setting</th>"
    "<th title=\"executions finished of those planned\">executions</th><th>runs</th>"
    "<th title=\"runs reaching the target · rate (95 % Wilson interval)\">reached target</th>"
    "<th title=\"best makespan of a run: best / median / worst\">best / median / worst</th>"
    "<th title=\"best makespan of a run: mean ± sample standard deviation\">mean ± sd</th>"
    "<th title=\"distinct optima per run that reached the target: mean (min–max)\">optima per "
    "run</th>"
    "<th title=\"distinct optimal schedules over all runs, by machine sequences\">distinct "
    "optima</th>"
    "<th title=\"mean of the runs' average distances between their optima\">mean distance</th>"
    "<th title=\"median generation / evaluations at which the target was first reached\">"
    "to target: generation / evaluations</th>"
    "<th title=\"wall-clock seconds per execution\">seconds</th></tr>";

// Where the page's links lead: execution folders are relative to campaignFolder, links relative to
// pageFolder.
struct LinkBase {
  std::filesystem::path campaignFolder;
  std::filesystem::path pageFolder;
};

// Each execution of the setting by its number, a link where its report exists; false in
// `allWritten` when one does not.
std::string executionLinks(const SettingSummary& setting, const LinkBase& base, bool& allWritten) {
  std::string links;
  for (const CampaignExecution* execution : setting.executionsWithRuns) {
    const CampaignExecution& e = *execution;
    const std::filesystem::path report = base.campaignFolder / e.folder / "report.html";
    std::error_code ignored;
    const std::string number = std::to_string(e.repetition);
    if (!std::filesystem::is_regular_file(report, ignored)) {
      allWritten = false;
      links += "<span class=\"missing\">" + number + "</span>";
      continue;
    }
    const std::string href = report.lexically_relative(base.pageFolder).generic_string();
    links += "<a href=\"" + escapeMarkup(href) + "\">" + number + "</a>";
  }
  return links;
}

std::string executionsSection(const std::vector<const SettingSummary*>& settings,
                              const LinkBase& base, const std::string& campaignFolder) {
  std::string items;
  bool allWritten = true;
  for (const SettingSummary* s : settings)
    items +=
        "<li>" + escapeMarkup(s->setting) + ": " + executionLinks(*s, base, allWritten) + "</li>";
  std::string html = "<details class=\"executions\"><summary>Each execution's report</summary>";
  if (!allWritten)
    html +=
        "<p class=\"note\">The numbers without a link have no report yet: <code>"
        "jobshop-niching campaign collect " +
        escapeMarkup(campaignFolder) + " --reports</code> writes them.</p>";
  return html + "<ul>" + items + "</ul></details>";
}

std::string figure(const char* heading, const std::string& chart, const char* caption) {
  return std::string("<h3>") + heading + "</h3><div class=\"chart\">" + chart +
         "<p class=\"caption\">" + caption + "</p></div>";
}

// The instance's pairs of settings compared; nothing for an instance of one setting.
std::string comparisonSection(const std::vector<SettingComparison>& comparisons,
                              const std::string& instance) {
  std::vector<const SettingComparison*> pairs;
  for (const SettingComparison& pair : comparisons)
    if (pair.a->instance == instance) pairs.push_back(&pair);
  if (pairs.empty()) return "";
  return "<h3>Settings compared</h3>" + comparisonTable(pairs) + traceComparisonTable(pairs);
}

// Said once on the page, under the first chart that shows estimates.
std::string undercountNote(const std::vector<const SettingSummary*>& settings, bool& said) {
  const bool estimated = std::any_of(settings.begin(), settings.end(), [](const SettingSummary* s) {
    return s->richness.has_value();
  });
  if (said || !estimated) return "";
  said = true;
  return "<p class=\"note undercount\">" + undercountSentence() + "</p>";
}

}  // namespace

std::string campaignPage(const std::string& title, const CampaignAnalysis& analysis,
                         const std::string& campaignFolder, const std::string& pagePath) {
  const std::vector<std::string>& unfinished = analysis.unfinished;
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"/><title>Campaign " +
      escapeMarkup(title) + "</title><style>" + kReportStyle + kCampaignStyle +
      "</style></head><body><main>";
  html += "<h1>Campaign " + escapeMarkup(title) + "</h1>";
  html += "<p class=\"meta\">" + std::to_string(analysis.finishedExecutions) + " of " +
          counted(static_cast<std::size_t>(analysis.plannedExecutions), "execution", "executions") +
          " finished, " + counted(analysis.runs.size(), "run", "runs") + ".</p>";
  if (!unfinished.empty()) {
    html += "<p class=\"note\">Not finished yet (left out of every figure): ";
    for (std::size_t i = 0; i < unfinished.size() && i < 30; ++i)
      html += (i ? ", " : "") + escapeMarkup(unfinished[i]);
    if (unfinished.size() > 30) html += " and " + std::to_string(unfinished.size() - 30) + " more";
    html += ".</p>";
  }
  if (!analysis.problems.empty()) {
    html += "<div class=\"problems\"><h2>Files that disagree</h2><ul>";
    for (const std::string& problem : analysis.problems)
      html += "<li>" + escapeMarkup(problem) + "</li>";
    html += "</ul></div>";
  }
  std::error_code ignored;
  const LinkBase base{
      std::filesystem::absolute(campaignFolder.empty() ? "." : campaignFolder, ignored)
          .lexically_normal(),
      std::filesystem::absolute(pagePath, ignored).lexically_normal().parent_path()};
  std::vector<std::string> instances;
  for (const SettingSummary& s : analysis.settings)
    if (std::find(instances.begin(), instances.end(), s.instance) == instances.end())
      instances.push_back(s.instance);
  bool undercountSaid = false;
  for (const std::string& instance : instances) {
    std::vector<const SettingSummary*> settings;
    for (const SettingSummary& s : analysis.settings)
      if (s.instance == instance) settings.push_back(&s);
    const CampaignExecution& example = *settings.front()->example;
    html += "<h2 id=\"" + escapeMarkup(instance) + "\">" + escapeMarkup(instance) + "</h2>";
    html += "<p class=\"meta\">" + std::to_string(example.jobs) + " jobs × " +
            std::to_string(example.machines) + " machines, target " +
            groupedNumber(example.target) + "</p>";
    html += "<div class=\"scroll\"><table class=\"settings\">";
    html += kTableHead;
    for (const SettingSummary* s : settings) html += settingRow(*s);
    html += "</table></div>";
    html += figure("Runs reaching the target", successChart(settings), kSuccessCaption);
    html += figure("Best makespans", boxPlots(settings, example.target), kBoxCaption);
    html += figure("Distinct optima per run that reached the target", optimaBoxPlots(settings),
                   kOptimaBoxCaption);
    html += undercountNote(settings, undercountSaid);
    html += "<h3>Optimal schedules held and found</h3>" + settingMeasuresTable(settings);
    html += enumerationTable(settings);
    html += comparisonSection(analysis.comparisons, instance);
    html += executionsSection(settings, base, campaignFolder);
  }
  return html + "</main></body></html>\n";
}

}  // namespace jobshop
