// Small pieces of text for the report page and its charts: escaping for markup that must also
// parse as XML, and numbers in a fixed, locale-free form.
#include "report/markup.h"

#include <cmath>
#include <cstdio>

namespace jobshop {

std::string escapeMarkup(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string coordinate(double value) {
  std::string text = fixedNumber(value, 1);
  if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0) text.resize(text.size() - 2);
  if (text == "-0") text = "0";
  return text;
}

std::string tableCell(const std::string& content, const std::string& className) {
  const std::string classAttribute = className.empty() ? "" : " class=\"" + className + "\"";
  return "<td" + classAttribute + ">" + content + "</td>";
}

std::string scientificText(double value) {
  if (!std::isfinite(value)) return "unknown";
  if (std::fabs(value) < 1e6) return groupedNumber(std::llround(value));
  int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  double mantissa = std::round(value / std::pow(10.0, exponent) * 10) / 10;
  if (std::fabs(mantissa) >= 10) {  // 9.96 rounds up to the next power
    mantissa /= 10;
    ++exponent;
  }
  return fixedNumber(mantissa, 1) + " × 10<sup>" + std::to_string(exponent) + "</sup>";
}

}  // namespace jobshop
