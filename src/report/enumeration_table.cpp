// Peak ratio and success rate per setting, beside the list they are measured against.
#include "report/enumeration_table.h"

#include "report/markup.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

std::string measuresRow(const SettingSummary& s) {
  std::string row = "<tr><td class=\"name\">" + escapeMarkup(s.setting) + "</td>";
  if (!s.againstEnumeration)
    return row + tableCell("–") + tableCell("–") + tableCell("–") + "</tr>";
  const EnumerationMeasures& m = *s.againstEnumeration;
  row += tableCell(groupedNumber(static_cast<std::int64_t>(m.found)) + " of " +
                   groupedNumber(static_cast<std::int64_t>(m.listed)));
  row += tableCell(smallShareNumber(m.peakRatio, 3));
  row += tableCell(fixedNumber(100 * m.successRate, 0) + " %");
  return row + "</tr>";
}

}  // namespace

std::string enumerationTable(const std::vector<const SettingSummary*>& settings) {
  bool measured = false;
  for (const SettingSummary* s : settings) measured = measured || s->againstEnumeration.has_value();
  if (!measured) return "";
  std::string html =
      "<div class=\"scroll\"><table class=\"settings enumeration\"><tr><th class=\"name\">setting"
      "</th><th title=\"listed optimal schedules found by any run of the setting, of the K "
      "listed\">"
      "found of listed</th><th title=\"mean share of the K listed schedules a run found\">peak "
      "ratio</th><th title=\"share of the runs that found all K listed schedules\">success rate"
      "</th></tr>";
  for (const SettingSummary* s : settings) html += measuresRow(*s);
  return html +
         "</table></div><p class=\"caption\">Against the complete list of the instance's K "
         "optimal schedules: peak ratio is the share of the K that a run found, averaged over the "
         "runs (1 when every run found them all); success rate is the share of the runs that "
         "found all K. Copies of a repeated run are left out.</p>";
}

}  // namespace jobshop
