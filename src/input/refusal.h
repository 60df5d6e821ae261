// Wording shared by the two readers when they refuse a file: the "file, línea N: ..." prefix,
// the quoting of what was found, and the error for a file that cannot be opened.
#pragma once

#include <string>
#include <string_view>

#include "input/input_error.h"
#include "input/line_reader.h"

namespace jobshop {

// The last component of `path`, the name a user knows the file by.
std::string fileNameOf(const std::string& path);

// Throws InputError{"<fileName>, línea <lineNumber>: <text>"}.
[[noreturn]] void refuseLine(const std::string& fileName, size_t lineNumber,
                             const std::string& text);

// Throws the refusal of a value beyond the int range, quoting `text` as the file has it.
[[noreturn]] void refuseOutOfRange(const std::string& fileName, size_t lineNumber,
                                   std::string_view text);

// Throws the cannotOpen InputError with the program's fixed message.
[[noreturn]] void refuseUnopened();

// `text` in double quotes, as printableText shows it, cut short with "..." between two whole
// characters when it is too long to read in one message.
std::string quoted(std::string_view text);

// How a converted whole-line value is shown as "found": the number, or the quoted line when the
// line held no digit at all (so that "abc" is not reported as 0), or "una línea vacía".
std::string foundValue(const DecimalValue& value, std::string_view line);

}  // namespace jobshop
