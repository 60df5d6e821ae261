// Rows of comma-separated values as spreadsheets read them: a field is quoted only when it holds a
// comma, a double quote or a line feed, so that ordinary values stay plain.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace jobshop {

std::string csvField(std::string_view value);

// The fields, each as csvField writes it, joined by commas and ended by a line feed.
std::string csvRow(const std::vector<std::string>& fields);

// The one spelling of a yes-or-no column.
inline const char* csvBoolean(bool value) { return value ? "true" : "false"; }

}  // namespace jobshop
