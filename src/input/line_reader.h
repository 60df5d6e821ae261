// Text-level reading shared by both input files: the one decimal conversion of every value, and
// the splitting of a matrix line into its field texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/text_files.h"

namespace jobshop {

// Result of the decimal conversion; `hasDigits` tells a written 0 from text that held no number,
// `outOfRange` a saturated value from one written as INT_MIN or INT_MAX. `lossy` marks text that
// says more than the value it reads as: no digit at all ("abc", "" or "-" read as 0), or anything
// but white space after the digits ("10.5" and "2abc" read as 10 and 2, "1e1" as 1, "3<tab>4" as
// 3). White space before the number or after it, a sign and leading zeros lose nothing.
struct DecimalValue {
  int value = 0;
  bool hasDigits = false;
  bool outOfRange = false;
  bool lossy = false;
};

// Skips leading white space, takes an optional '+' or '-' and then the decimal digits up to the
// first non-digit; the rest of the text is ignored. No digits give 0 with hasDigits false. Values
// beyond the int range saturate at INT_MIN or INT_MAX, with outOfRange set. Sets lossy as told
// above.
DecimalValue convertDecimal(std::string_view text);

// Calls visit(field) for each field text of one matrix line (without its line feed), in order,
// taken literally: a single space ends a field, so each further space in a row, or a space at the
// start, yields an empty field; one trailing space adds nothing and two add one empty field; an
// empty line has no fields. Every character other than a space, a tab included, belongs to its
// field. The views point into `line`.
template <class Visit>
void forEachMatrixField(std::string_view line, Visit&& visit) {
  size_t p = 0;
  while (p < line.size()) {
    size_t start = p;
    while (p < line.size() && line[p] != ' ') ++p;
    visit(line.substr(start, p - start));
    if (p < line.size()) ++p;  // one space only
  }
}

// The fields forEachMatrixField visits, collected.
std::vector<std::string_view> splitMatrixFields(std::string_view line);

}  // namespace jobshop
