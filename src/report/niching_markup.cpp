// The measures of the runs' traces as tables, cells and a section of the report page.
#include "report/niching_markup.h"

#include "report/held_found_chart.h"
#include "report/markup.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

struct MeasureRow {
  const char* heading;  // in the runs table
  const char* name;     // in the summary
  const char* meaning;
  bool needsK;
  MeasureAverage NichingAggregates::*average;
  int NichingMeasures::*count;                    // one run's, for a count
  std::optional<double> NichingMeasures::*share;  // one run's, otherwise
};

using A = NichingAggregates;
using M = NichingMeasures;

const MeasureRow kMeasureRows[] = {
    {"held", "held", "distinct optimal schedules in the final population", false, &A::held,
     &M::held, nullptr},
    {"found", "found", "distinct optimal schedules seen during the run", false, &A::found,
     &M::found, nullptr},
    {"distinct", "distinct", "distinct schedules in the final population", false, &A::distinct,
     &M::distinct, nullptr},
    {"recall", "recall", "held / K, the share of all optimal schedules the population holds", true,
     &A::recall, nullptr, &M::recall},
    {"prec.", "precision",
     "held / distinct, the share of the population's schedules that are optimal", false,
     &A::precision, nullptr, &M::precision},
    {"F1", "F1", "2 precision recall / (precision + recall)", true, &A::f1, nullptr, &M::f1},
    {"found rec.", "found recall", "found / K", true, &A::foundRecall, nullptr, &M::foundRecall},
    {"ret.", "retention", "held / found, the share of the found ones the population kept", false,
     &A::retention, nullptr, &M::retention},
    {"dyn. F1", "dynamic F1",
     "F1 of each generation weighted by the evaluations it lasted; the initial population's "
     "count as 0",
     true, &A::dynamicF1, nullptr, &M::dynamicF1},
};

bool shown(const MeasureRow& row, const ReportAnalysis& analysis) {
  return !row.needsK || analysis.exactCount.has_value();
}

std::string valueText(const std::optional<double>& value, int decimals) {
  return value ? smallShareNumber(*value, decimals) : "&#8211;";
}

bool anyTraced(const ReportAnalysis& analysis) {
  for (const std::optional<NichingMeasures>& measures : analysis.runMeasures)
    if (measures) return true;
  return false;
}

std::string missingCountNote(const ReportAnalysis& analysis) {
  if (analysis.exactCount) return {};
  return "<p class=\"note needs-count\">Recall, F1, found recall and dynamic F1 need an exact "
         "count of the optimal schedules at the target: <code>jobshop-niching optima</code> "
         "makes one in this folder.</p>";
}

std::string untracedNote(const NichingAggregates& aggregates) {
  if (aggregates.untraced == 0) return {};
  return "<p class=\"note\">" + countOf(aggregates.untraced, "run was", "runs were") +
         " made before the trace was kept and " + (aggregates.untraced == 1 ? "is" : "are") +
         " left out.</p>";
}

}  // namespace

std::string nichingSummary(const ReportAnalysis& analysis) {
  const NichingAggregates& aggregates = analysis.niching;
  if (aggregates.traced == 0) return {};
  std::string html =
      "<h3>Optimal schedules held at the end and found on the way</h3><table "
      "class=\"measures\"><thead><tr>"
      "<th>measure</th><th>mean</th><th>median</th></tr></thead><tbody>";
  for (const MeasureRow& row : kMeasureRows) {
    if (!shown(row, analysis)) continue;
    const MeasureAverage& average = aggregates.*row.average;
    const int decimals = row.count != nullptr ? 1 : 3;
    html += std::string("<tr><th title=\"") + row.meaning + "\">" + row.name + "</th>" +
            tableCell(valueText(average.mean, decimals)) +
            tableCell(valueText(average.median, decimals)) + "</tr>";
  }
  html += "</tbody></table><p class=\"note\">Over the " +
          countOf(aggregates.traced, "counted run", "counted runs") +
          " with a trace. Held and found count the distinct schedules at or below the target.</p>";
  return html + untracedNote(aggregates) + missingCountNote(analysis);
}

std::string nichingHeadings(const ReportAnalysis& analysis) {
  if (!anyTraced(analysis)) return {};
  std::string html;
  for (const MeasureRow& row : kMeasureRows)
    if (shown(row, analysis))
      html += std::string("<th title=\"") + row.meaning + "\">" + row.heading + "</th>";
  return html;
}

std::string nichingCells(const ReportAnalysis& analysis, std::size_t run) {
  const std::optional<NichingMeasures>& measures = analysis.runMeasures[run];
  std::string html;
  for (const MeasureRow& row : kMeasureRows) {
    if (!shown(row, analysis)) continue;
    if (!measures)
      html += tableCell("");
    else if (row.count != nullptr)
      html += tableCell(groupedNumber(static_cast<std::int64_t>((*measures).*row.count)));
    else
      html += tableCell(valueText((*measures).*row.share, 3));
  }
  return html;
}

std::string heldFoundSection(const ReportAnalysis& analysis) {
  std::string html = "<section id=\"held-found\"><h2>Optimal schedules held and found</h2>";
  const std::string chart = heldFoundChart(analysis.counted);
  if (chart.empty())
    return html +
           "<p class=\"note\">The runs were made before the trace of each generation was kept, "
           "so there is nothing to draw.</p></section>";
  html +=
      "<p class=\"note\">Distinct schedules at or below the target held in each run's "
      "population and found by it so far, against the evaluations spent; each run is a "
      "thin line";
  if (analysis.niching.traced > static_cast<int>(kHeldFoundDrawnRuns))
    html += " (the first " + std::to_string(kHeldFoundDrawnRuns) + " runs)";
  html +=
      ", the median across runs bold within its quartile band. A run's value at a number of "
      "evaluations is that of its last generation at or before it.";
  // A median on zero all the way reads as a chart that failed to draw; say why it is there.
  if (analysis.niching.found.mean == 0.0)
    html += " No run found a schedule at or below the target, so every line lies on zero.";
  else if (analysis.niching.found.median == 0.0)
    html +=
        " At least half of the runs found no schedule at or below the target, so both medians lie "
        "on zero; the thin lines above it are the runs that did.";
  html += "</p>";
  return html + "<div class=\"chart\">" + chart + "</div>" + heldFoundLegend() + "</section>";
}

}  // namespace jobshop
