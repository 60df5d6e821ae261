// The words for a refusal, one language per file: Spanish for the main run and the commands that
// speak as it does, English for the report and the import command.
#pragma once

#include <string>

#include "input/input_error.h"
#include "input/refusal.h"

namespace jobshop {

// "FILE, línea N: ..." or, for a file that cannot be opened, the main run's fixed sentence.
std::string inSpanish(const Refusal& refusal);

// "FILE:N: ..."; for a file that cannot be opened "cannot open PATH", or "PATH: cannot open the
// file (REASON)" when the reason is known.
std::string inEnglish(const Refusal& refusal);

// The refusal error carries in English, or its message as it stands when it carries none.
std::string inEnglish(const InputError& error);

}  // namespace jobshop
