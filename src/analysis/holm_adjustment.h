// Many pairs of settings compared at once: without an adjustment one pair in twenty would look
// significant at 0.05 by chance alone.
#pragma once

#include <optional>
#include <vector>

namespace jobshop {

// Holm's step-down adjustment of the p-values of one family of tests, in their order: the i-th
// smallest of m is multiplied by m - i + 1, made no smaller than those before it, and capped at 1.
// A missing p-value (a test that could not be made) stays missing and is no member of the family.
std::vector<std::optional<double>> holmAdjusted(const std::vector<std::optional<double>>& p);

}  // namespace jobshop
