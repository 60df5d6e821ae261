// Whole-file line reading, the decimal conversion and the literal field rule of matrix lines.
#include "input/line_reader.h"

#include <climits>
#include <cstdint>

namespace jobshop {

namespace {

bool isWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

DecimalValue convertDecimal(std::string_view text) {
  size_t p = 0;
  while (p < text.size() && isWhiteSpace(text[p])) ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
    negative = text[p] == '-';
    ++p;
  }
  // Accumulated as a magnitude in 64 bits and capped just past INT_MAX + 1, so it never overflows.
  constexpr std::int64_t kCap = static_cast<std::int64_t>(INT_MAX) + 1;
  std::int64_t magnitude = 0;
  DecimalValue result;
  for (; p < text.size() && isDigit(text[p]); ++p) {
    result.hasDigits = true;
    if (magnitude < kCap) magnitude = magnitude * 10 + (text[p] - '0');
  }
  result.outOfRange = magnitude > (negative ? kCap : kCap - 1);
  while (p < text.size() && isWhiteSpace(text[p])) ++p;
  result.lossy = !result.hasDigits || p < text.size();
  if (magnitude > kCap) magnitude = kCap;
  std::int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > INT_MAX) signedValue = INT_MAX;
  result.value = static_cast<int>(signedValue);
  return result;
}

std::vector<std::string_view> splitMatrixFields(std::string_view line) {
  std::vector<std::string_view> fields;
  forEachMatrixField(line, [&fields](std::string_view field) { fields.push_back(field); });
  return fields;
}

}  // namespace jobshop
