#include "support/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace jobshop {

std::string fixedNumber(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

std::string smallShareNumber(double value, int decimals) {
  const double magnitude = std::fabs(value);
  if (value == 0.0 || !std::isfinite(value) || magnitude >= std::pow(10.0, -decimals))
    return fixedNumber(value, decimals);
  // Two significant digits: the first lies at -floor(log10) - 1 places after the point.
  const int first = static_cast<int>(std::ceil(-std::log10(magnitude)));
  return fixedNumber(value, std::min(first + 1, 17));
}

std::string plainNumber(double value) {
  return fixedNumber(value, value == static_cast<double>(static_cast<long long>(value)) ? 0 : 1);
}

std::string groupedNumber(std::int64_t value) { return groupedDigits(std::to_string(value)); }

std::string groupedDigits(const std::string& digits) {
  const std::size_t sign = !digits.empty() && digits[0] == '-' ? 1 : 0;
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
