// The valid name a mistyped one was most likely meant to be, so that a refusal can say "did you
// mean ...?" instead of leaving the reader to search a list.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jobshop {

// Edits (insert, delete, replace one character, or swap two neighbours) that turn a into b,
// letters compared without regard to case; each character is edited at most once.
std::size_t editDistance(std::string_view a, std::string_view b);

// The name of names that given most likely misspells: the first of the nearest by editDistance
// (leading '-' left out of both), when the edits are few for the name's length (none below three
// characters, one from three, two from six, three from nine); otherwise the only name that given,
// of three characters or more, begins (as "swapMutation" begins "swapMutationEnabled"). Nothing
// when no name is that near, or given is one of names.
std::optional<std::string> nearestName(std::string_view given,
                                       const std::vector<std::string>& names);

}  // namespace jobshop
