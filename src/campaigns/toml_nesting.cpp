// A scan that only needs to over-count nothing a parser would accept at a shallow depth: brackets
// outside strings and comments, and the points of bare words that are not numbers or times.
#include "campaigns/toml_nesting.h"

#include <algorithm>

namespace jobshop {

namespace {

bool isBareChar(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
         c == '-' || c == '+' || c == ':' || c == '.';
}

// A number or date-time word holds one point at most and no letters but an exponent or the
// time's T and Z.
bool isValueWord(std::string_view word) {
  return std::count(word.begin(), word.end(), '.') <= 1 &&
         word.find_first_not_of("0123456789_.+-:eEtTzZ") == std::string_view::npos;
}

// The scanner's place in the text: how many brackets are open and how many key points this line
// holds.
struct Nesting {
  int open = 0;
  int points = 0;
  int depth() const { return open + points; }
};

// Past a string that starts at text[p]; where it ends (one past its closing quote).
std::size_t skipString(std::string_view text, std::size_t p, std::size_t& line) {
  const char quote = text[p];
  const bool multiline = text.substr(p, 3) == std::string_view(quote == '"' ? "\"\"\"" : "'''");
  const std::size_t width = multiline ? 3 : 1;
  std::size_t q = p + width;
  while (q < text.size()) {
    if (text[q] == '\\' && quote == '"') {
      q += 2;
      continue;
    }
    if (text[q] == '\n') {
      if (!multiline) return q;  // an unclosed one-line string: the parser refuses it
      ++line;
    }
    if (text[q] == quote && (!multiline || text.substr(q, 3) == text.substr(p, 3)))
      return q + width;
    ++q;
  }
  return q;
}

}  // namespace

std::optional<std::size_t> firstTooDeepLine(std::string_view text, int limit) {
  Nesting nesting;
  std::size_t line = 1;
  std::size_t p = 0;
  while (p < text.size()) {
    const char c = text[p];
    if (c == '\n') {
      ++line;
      nesting.points = 0;
      ++p;
    } else if (c == '#') {
      while (p < text.size() && text[p] != '\n') ++p;
    } else if (c == '"' || c == '\'') {
      p = skipString(text, p, line);
    } else if (c == '[' || c == '{') {
      ++nesting.open;
      ++p;
    } else if (c == ']' || c == '}') {
      nesting.open = std::max(0, nesting.open - 1);
      ++p;
    } else if (isBareChar(c)) {
      const std::size_t start = p;
      while (p < text.size() && isBareChar(text[p])) ++p;
      const std::string_view word = text.substr(start, p - start);
      if (!isValueWord(word))
        nesting.points += static_cast<int>(std::count(word.begin(), word.end(), '.'));
    } else {
      ++p;
    }
    if (nesting.depth() > limit) return line;
  }
  return std::nullopt;
}

}  // namespace jobshop
