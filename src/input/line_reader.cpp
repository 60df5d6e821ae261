// Whole-file line reading, the decimal conversion and the literal field rule of matrix lines.
#include "input/line_reader.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace jobshop {

namespace {

bool isWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    size_t length = end - start;
    if (length > 0 && text[end - 1] == '\r') --length;
    lines.emplace_back(text.substr(start, length));
    start = end + 1;
  }
  return lines;
}

std::optional<std::vector<std::string>> readFileLines(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  std::string text;
  char chunk[65536];
  size_t count = 0;
  while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) text.append(chunk, count);
  // A directory opens on some systems but fails on the first read.
  if (std::ferror(file.get())) return std::nullopt;
  return splitLines(text);
}

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
