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

std::string groupedNumber(std::int64_t value) {
  const std::string digits = std::to_string(value);
  const std::size_t sign = value < 0 ? 1 : 0;
  std::string grouped = digits.substr(0, sign);
  for (std::size_t k = sign; k < digits.size(); ++k) {
    if (k > sign && (digits.size() - k) % 3 == 0) grouped += ',';
    grouped += digits[k];
  }
  return grouped;
}

std::string countOf(std::int64_t count, const char* singular, const char* plural) {
  return groupedNumber(count) + " " + (count == 1 ? singular : plural);
}

std::string numberList(const std::vector<int>& numbers) {
  std::string text;
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    if (k > 0) text += ", ";
    text += std::to_string(numbers[k]);
  }
  return text;
}

}  // namespace jobshop
