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

// The first matrix line of one file that holds fewer values than the instance has machines, and
// the first that holds more. The values run on across lines, so such a file is read, but a row
// broken across lines is more often a slip than a layout: it is said, once per kind and file,
// with where its values went ("D_Entrada.txt, línea 5: 5 valores donde se esperaban 6; los
// valores siguen en la línea 6").
struct FirstUnevenRows {
  std::string fileName;
  std::optional<std::size_t> shortLine;
  std::optional<std::string> shortWarning;
  std::optional<std::size_t> longLine;
  std::optional<std::string> longWarning;

  // Keeps the warning for lineNumber when it holds `found` values instead of `expected` and no
  // warning of its kind was kept before. readBefore values of the matrix came before the line,
  // whose own row starts at value rowStart.
  void note(std::size_t lineNumber, std::size_t found, std::size_t expected, std::size_t readBefore,
            std::size_t rowStart);
  // Appends the kept warnings, if any, in the order of their lines, to warnings (when not null).
  void passOn(std::vector<std::string>* warnings) const;
};

}  // namespace jobshop
