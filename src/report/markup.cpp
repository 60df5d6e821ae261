// Small pieces of text for the report page and its charts: escaping for markup that must also
// parse as XML, and numbers in a fixed, locale-free form.
#include "report/markup.h"

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

std::string plainNumber(double value) {
  return fixedNumber(value, value == static_cast<double>(static_cast<long long>(value)) ? 0 : 1);
}

}  // namespace jobshop
