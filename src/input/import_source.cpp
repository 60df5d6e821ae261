// Lines, tokens and numbers of an imported file.
#include "input/import_source.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "input/input_error.h"
#include "input/refusal.h"
#include "support/printable_text.h"

namespace jobshop {

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::vector<std::string_view> splitTokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  size_t p = 0;
  while (p < line.size()) {
    while (p < line.size() && isSeparator(line[p])) ++p;
    size_t start = p;
    while (p < line.size() && !isSeparator(line[p])) ++p;
    if (p > start) tokens.push_back(line.substr(start, p - start));
  }
  return tokens;
}

}  // namespace

[[noreturn]] void refuseAt(const SourceText& source, int lineNumber, const std::string& reason) {
  throw InputError{printableText(source.fileName) + ":" + std::to_string(lineNumber) + ": " +
                   reason};
}

SourceText significantLines(const std::string& text, const std::string& fileName) {
  SourceText source;
  source.fileName = fileName;
  std::string_view rest(text);
  // Editors on some systems start a UTF-8 file with a byte order mark.
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
  int number = 0;
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    ++number;
    std::vector<std::string_view> tokens = splitTokens(line);
    if (tokens.empty() || tokens.front().front() == '#') continue;
    source.lines.push_back(TextLine{number, std::move(tokens)});
  }
  source.lastLineNumber = std::max(number, 1);
  return source;
}

bool hasNumberSyntax(std::string_view token) {
  if (!token.empty() && (token.front() == '-' || token.front() == '+')) token.remove_prefix(1);
  return !token.empty() &&
         std::all_of(token.begin(), token.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int parseNumber(const SourceText& source, int lineNumber, std::string_view token) {
  if (!hasNumberSyntax(token))
    refuseAt(source, lineNumber, quoted(token) + " is not a whole number");
  std::string_view digits = token.front() == '+' ? token.substr(1) : token;
  int value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) {
    refuseAt(source, lineNumber, std::string(token) + " does not fit a 32-bit integer");
  }
  return value;
}

std::vector<int> parseNumbers(const SourceText& source, const TextLine& line) {
  std::vector<int> values;
  values.reserve(line.tokens.size());
  for (std::string_view token : line.tokens)
    values.push_back(parseNumber(source, line.number, token));
  return values;
}

bool isKeyword(const TextLine& line, std::string_view word) {
  if (line.tokens.size() != 1 || line.tokens.front().size() != word.size()) return false;
  return std::equal(word.begin(), word.end(), line.tokens.front().begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

bool isBlockKeyword(const TextLine& line) {
  return isKeyword(line, "times") || isKeyword(line, "machines");
}

}  // namespace jobshop
