// Each setting's measures as the median and the mean over its runs with a trace.
#include "report/setting_measures_table.h"

#include "report/markup.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

struct MeasureColumn {
  const char* heading;
  const char* meaning;
  bool needsK;
  MeasureAverage NichingAggregates::*average;
  int decimals;
};

using A = NichingAggregates;

const MeasureColumn kColumns[] = {
    {"held", "distinct optimal schedules in a run's final population", false, &A::held, 1},
    {"found", "distinct optimal schedules a run saw", false, &A::found, 1},
    {"distinct", "distinct schedules in a run's final population", false, &A::distinct, 1},
    {"recall", "held / K", true, &A::recall, 3},
    {"precision", "held / distinct", false, &A::precision, 3},
    {"F1", "2 precision recall / (precision + recall)", true, &A::f1, 3},
    {"found recall", "found / K", true, &A::foundRecall, 3},
    {"retention", "held / found", false, &A::retention, 3},
    {"dynamic F1", "F1 over the run, weighted by the evaluations each generation lasted", true,
     &A::dynamicF1, 3},
};

std::string averageCell(const MeasureAverage& average, int decimals) {
  if (!average.median) return tableCell("–");
  return tableCell(smallShareNumber(*average.median, decimals) + " / " +
                   smallShareNumber(*average.mean, decimals));
}

std::string measuresRow(const SettingSummary& s, bool withK) {
  const NichingAggregates& a = s.niching;
  std::string row = "<tr><td class=\"name\">" + escapeMarkup(s.setting) + "</td>";
  row += tableCell(std::to_string(a.traced) +
                   (a.untraced > 0 ? " (" + std::to_string(a.untraced) + " without)" : ""));
  for (const MeasureColumn& column : kColumns)
    if (withK || !column.needsK) row += averageCell(a.*column.average, column.decimals);
  return row + "</tr>";
}

}  // namespace

std::string settingMeasuresTable(const std::vector<const SettingSummary*>& settings) {
  bool traced = false;
  bool withK = false;
  for (const SettingSummary* s : settings) {
    traced = traced || s->niching.traced > 0;
    withK = withK || s->exactCount.has_value();
  }
  if (!traced)
    return "<p class=\"note\">The runs were made before the trace of each generation was kept: "
           "no measure of held and found optimal schedules.</p>";
  std::string html =
      "<div class=\"scroll\"><table class=\"settings measures\"><tr><th class=\"name\">setting"
      "</th><th title=\"runs with a trace (runs without one, left out)\">traced runs</th>";
  for (const MeasureColumn& column : kColumns)
    if (withK || !column.needsK)
      html += std::string("<th title=\"") + column.meaning + ": median / mean over the traced " +
              "runs\">" + column.heading + "</th>";
  html += "</tr>";
  for (const SettingSummary* s : settings) html += measuresRow(*s, withK);
  html +=
      "</table></div><p class=\"caption\">Median / mean over each setting's runs with a "
      "trace, from each run's final population (found: over the whole run).";
  if (!withK)
    html +=
        " Recall, F1, found recall and dynamic F1 need an exact count of the optimal "
        "schedules: <code>jobshop-niching optima</code> in the instance's folder makes one.";
  return html + "</p>";
}

}  // namespace jobshop
