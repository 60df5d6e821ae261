// Rows of settings compared, the adjusted p-values below the level in bold with a marker.
#include "report/comparison_table.h"

#include <cmath>
#include <cstdint>

#include "report/markup.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

// Set apart from the table's other marks, and readable without colour.
constexpr const char* kSignificantMark = "★";

// "9/10": the rates themselves stand in the settings' table above.
std::string successText(const SettingSummary& s) {
  if (s.runs == 0) return "–";
  return std::to_string(s.runsReachingTarget) + "/" + std::to_string(s.runs);
}

// A difference of two shares in percentage points, signed so that its direction reads at once.
std::string differenceText(const std::optional<double>& difference) {
  if (!difference) return "–";
  const double points = 100 * *difference;
  const std::string text = fixedNumber(points, 0);
  if (text == "0" || text == "-0") return "0 pp";
  return (points > 0 ? "+" : "−") + fixedNumber(std::abs(points), 0) + " pp";
}

std::string adjustedCell(const std::optional<double>& p) {
  if (!significant(p)) return tableCell(pValueText(p));
  return tableCell("<strong>" + pValueText(p) + "</strong> " + kSignificantMark, "significant");
}

std::string comparisonRow(const SettingComparison& pair) {
  std::string row = "<tr><td class=\"name\">" + escapeMarkup(pair.a->setting) +
                    "</td><td class=\"name\">" + escapeMarkup(pair.b->setting) + "</td>";
  row += tableCell(successText(*pair.a)) + tableCell(successText(*pair.b));
  row += tableCell(pValueText(pair.fisherP)) + adjustedCell(pair.fisherPHolm);
  row += tableCell(differenceText(pair.rateDifference));
  row += tableCell(pValueText(pair.mannWhitneyP)) + adjustedCell(pair.mannWhitneyPHolm);
  row += tableCell(pair.probabilityOfSuperiority ? fixedNumber(*pair.probabilityOfSuperiority, 2)
                                                 : "–");
  return row + "</tr>";
}

const char* const kComparisonHead =
    "<tr><th class=\"name\">setting A</th><th class=\"name\">setting B</th>"
    "<th title=\"runs of A that reached the target\">A reached</th>"
    "<th title=\"runs of B that reached the target\">B reached</th>"
    "<th title=\"Fisher's exact test, two-sided, on the runs reaching the target\">Fisher p</th>"
    "<th title=\"Fisher p after Holm's adjustment over this instance's pairs\">Holm p</th>"
    "<th title=\"A's rate minus B's, in percentage points\">rate A − B</th>"
    "<th title=\"Mann-Whitney U test, two-sided, on the distinct optima of each run that reached "
    "the target\">Mann-Whitney p</th>"
    "<th title=\"Mann-Whitney p after Holm's adjustment over this instance's pairs\">Holm p</th>"
    "<th title=\"probability that a successful run of A finds more distinct optima than one of "
    "B, ties counting half\">P(A &gt; B)</th></tr>";

std::string superiorityText(const std::optional<double>& probability) {
  return probability ? fixedNumber(*probability, 2) : "–";
}

std::string traceComparisonRow(const SettingComparison& pair) {
  std::string row = "<tr><td class=\"name\">" + escapeMarkup(pair.a->setting) +
                    "</td><td class=\"name\">" + escapeMarkup(pair.b->setting) + "</td>";
  row += tableCell(pValueText(pair.foundP)) + adjustedCell(pair.foundPHolm) +
         tableCell(superiorityText(pair.foundSuperiority));
  row += tableCell(pValueText(pair.dynamicF1P)) + adjustedCell(pair.dynamicF1PHolm) +
         tableCell(superiorityText(pair.dynamicF1Superiority));
  return row + "</tr>";
}

const char* const kTraceComparisonHead =
    "<tr><th class=\"name\">setting A</th><th class=\"name\">setting B</th>"
    "<th title=\"Mann-Whitney U test, two-sided, on the distinct optimal schedules each run "
    "found\">found p</th>"
    "<th title=\"found p after Holm's adjustment over this instance's pairs\">Holm p</th>"
    "<th title=\"probability that a run of A finds more than one of B, ties counting half\">"
    "P(A &gt; B)</th>"
    "<th title=\"Mann-Whitney U test, two-sided, on each run's dynamic F1\">dynamic F1 p</th>"
    "<th title=\"dynamic F1 p after Holm's adjustment over this instance's pairs\">Holm p</th>"
    "<th title=\"probability that a run of A has a higher dynamic F1 than one of B, ties "
    "counting half\">P(A &gt; B)</th></tr>";

}  // namespace

std::string traceComparisonTable(const std::vector<const SettingComparison*>& pairs) {
  bool traced = false;
  for (const SettingComparison* pair : pairs) traced = traced || pair->foundP.has_value();
  if (!traced) return "";
  std::string html = "<div class=\"scroll\"><table class=\"settings comparisons traces\">";
  html += kTraceComparisonHead;
  for (const SettingComparison* pair : pairs) html += traceComparisonRow(*pair);
  return html +
         "</table></div><p class=\"caption\">The runs with a trace compared with the "
         "Mann-Whitney test, as above: on the distinct optimal schedules each found during its "
         "run, and on its dynamic F1 (only with an exact count of the optimal schedules). Holm's "
         "adjustment runs over this instance's pairs for each test on its own.</p>";
}

std::string pValueText(const std::optional<double>& p) {
  if (!p) return "–";
  if (*p < 0.001) return "&lt; 0.001";
  return fixedNumber(*p, 3);
}

std::string comparisonTable(const std::vector<const SettingComparison*>& pairs) {
  if (pairs.empty()) return "";
  std::string html = "<div class=\"scroll\"><table class=\"settings comparisons\">";
  html += kComparisonHead;
  for (const SettingComparison* pair : pairs) html += comparisonRow(*pair);
  html += "</table></div><p class=\"caption\">" + std::string(kSignificantMark) +
          " and bold: significant at " + fixedNumber(kSignificanceLevel, 2) +
          " after Holm's adjustment over the " +
          countOf(static_cast<std::int64_t>(pairs.size()), "pair", "pairs") +
          " of this instance, for each test on its own. The success rates are compared with "
          "Fisher's exact test, the distinct optima of the runs that reached the target with the "
          "Mann-Whitney test (normal approximation, tie and continuity corrected); P(A &gt; B) "
          "is 0.5 when neither setting tends to find more.</p>";
  return html;
}

}  // namespace jobshop
