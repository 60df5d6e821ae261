// The found schedules before the enumeration's count, so that a reader compares them at once.
#include "report/distinct_schedules_text.h"

namespace jobshop {

std::string distinctSchedulesText(const SettingSummary& s) {
  std::string text = std::to_string(s.distinctSchedules);
  if (!s.enumeratedOptima) return text;
  std::string total = s.enumerationComplete ? "" : "at least ";
  total += std::to_string(*s.enumeratedOptima);
  if (s.foundOfEnumerated) {
    text = std::to_string(*s.foundOfEnumerated);
    text += " of ";
    text += total;
  } else {
    text += " (" + total + " exist)";
  }
  if (s.missingFromEnumeration > 0)
    text += ", " + std::to_string(s.missingFromEnumeration) + " not in the enumeration";
  return text;
}

}  // namespace jobshop
