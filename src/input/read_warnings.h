// What the readers say about a file they accept but whose text reads as something other than it
// says: one line per file, naming its first such line and the value taken from it, worded like the
// refusals ("D_Entrada.txt, línea 3: \"1e1\" se lee como 1"). Nothing is refused for it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/line_reader.h"

namespace jobshop {

// The first lossy conversion of one file (see DecimalValue::lossy), noted in reading order.
struct FirstLossyRead {
  std::string fileName;
  std::optional<std::string> warning;

  // Keeps the warning for `text` on lineNumber when value is lossy and none was kept before.
  void note(std::size_t lineNumber, std::string_view text, const DecimalValue& value);
  // Appends the kept warning, if any, to warnings (when not null).
  void passOn(std::vector<std::string>* warnings) const;
};

}  // namespace jobshop
