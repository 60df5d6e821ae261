// How deeply a campaign file nests, measured on its text before it is parsed: the TOML parser
// descends once per level of a dotted key, table or array, so a file of a few hundred kilobytes
// could otherwise nest deep enough to exhaust the stack.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace jobshop {

// Far deeper than any campaign file needs (their keys go three levels down).
inline constexpr int kMaxTomlNesting = 64;

// The first line (1-based) on which the open brackets plus the parts of a dotted key exceed
// limit; nothing when none does. Strings and comments are skipped, and the single point of a
// float or a time is not a key's.
std::optional<std::size_t> firstTooDeepLine(std::string_view text, int limit);

}  // namespace jobshop
