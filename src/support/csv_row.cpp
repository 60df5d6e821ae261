#include "support/csv_row.h"

namespace jobshop {

std::string csvField(std::string_view value) {
  if (value.find_first_of(",\"\n") == std::string_view::npos) return std::string(value);
  std::string quoted = "\"";
  for (const char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string csvRow(const std::vector<std::string>& fields) {
  std::string row;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) row += ',';
    row += csvField(fields[i]);
  }
  return row + "\n";
}

}  // namespace jobshop
