// Small pieces of text for the report page and its charts: escaping for markup that must also
// parse as XML, and numbers in a fixed, locale-free form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/number_format.h"

namespace jobshop {

// Text safe inside elements and double-quoted attributes (&, <, >, " replaced).
std::string escapeMarkup(std::string_view text);

// A coordinate for SVG: one decimal, without a trailing ".0".
std::string coordinate(double value);

// A table cell holding content (already markup), with a class attribute only when className is not
// empty.
std::string tableCell(const std::string& content, const std::string& className = "");

// A makespan for people: whole values without decimals, others with one.
std::string plainNumber(double value);

// A whole number with a comma between groups of three digits: "2,300,000".
std::string groupedNumber(std::int64_t value);
// A large value for people, as markup: grouped digits below a million, "2.8 × 10<sup>9</sup>" from
// there on.
std::string scientificText(double value);
// groupedNumber for the digits of a number of any size.
std::string groupedDigits(const std::string& digits);

// "3, 7, 12": the numbers (run numbers, mostly) as they come, comma-separated.
std::string numberList(const std::vector<int>& numbers);

// "1 run", "3 runs": count and the noun that agrees with it.
std::string countOf(std::int64_t count, const char* singular, const char* plural);

}  // namespace jobshop
