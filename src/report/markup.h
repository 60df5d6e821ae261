// Small pieces of text for the report page and its charts: escaping for markup that must also
// parse as XML, and numbers in a fixed, locale-free form.
#pragma once

#include <string>
#include <string_view>

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

}  // namespace jobshop
