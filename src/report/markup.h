// Small pieces of text for the report page and its charts: escaping for markup that must also
// parse as XML, and numbers in a fixed, locale-free form.
#pragma once

#include <string>
#include <string_view>

namespace jobshop {

// Text safe inside elements and double-quoted attributes (&, <, >, " replaced).
std::string escapeMarkup(std::string_view text);

// value with the given number of decimals, as printf's "%.*f" writes it.
std::string fixedNumber(double value, int decimals);

// A coordinate for SVG: one decimal, without a trailing ".0".
std::string coordinate(double value);

// A makespan for people: whole values without decimals, others with one.
std::string plainNumber(double value);

}  // namespace jobshop
