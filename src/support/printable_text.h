// Text from an input file or the command line made safe to show inside a one-line message: no
// byte that a terminal would act on instead of showing, and no character cut in two.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace jobshop {

// `text` with each byte that is not shown as itself written as an escape: `\t`, `\n`, `\r`, `\\`
// for the backslash (so that an escape in the output always stands for one byte), `\xNN` for the
// other control bytes, DEL and every byte that is not part of well-formed UTF-8, and `\u00NN` for
// the C1 control characters. Well-formed UTF-8 characters are kept as they are.
std::string printableText(std::string_view text);

struct PrintablePrefix {
  std::string text;
  bool truncated = false;  // something of the input was left off
};

// The longest start of printableText(text) of at most maxBytes bytes that ends between two whole
// characters or escapes.
PrintablePrefix printablePrefix(std::string_view text, size_t maxBytes);

// `text` in double quotes, as printableText shows it, cut short with "..." between two whole
// characters when it is longer than maxBytes, so that a message stays readable on one line.
std::string quoted(std::string_view text, size_t maxBytes);

}  // namespace jobshop
