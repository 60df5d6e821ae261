// The report's words for an instance file it cannot use: the shared reader words its refusals for
// the main run, in Spanish, while the report speaks English.
#pragma once

#include <string>

#include "input/input_error.h"

namespace jobshop {

// "cannot open PATH" for a file that cannot be read; otherwise "FILE:LINE: REASON" with the
// reader's reason in English (a reason worded in a way not known here is named only by its line).
std::string instanceRefusalInEnglish(const InputError& error, const std::string& path);

}  // namespace jobshop
