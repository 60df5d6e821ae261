// Small pieces of text for the report page and its charts: escaping for markup that must also
// parse as XML, coordinates, cells and large numbers as markup.
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

// A large value for people, as markup: grouped digits below a million, "2.8 × 10<sup>9</sup>" from
// there on.
std::string scientificText(double value);

}  // namespace jobshop
