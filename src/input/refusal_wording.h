// The words for a refusal of one of the two "D_" input files: Spanish, as the main run has always
// printed them, from every command that reads those files, so that one fault reads the same
// wherever it is met. The other formats (published instances, campaign files, optima.json) are
// refused in English where they are read.
#pragma once

#include <string>

#include "input/refusal.h"

namespace jobshop {

// "FILE, línea N: ..." or, for a file that cannot be opened, the main run's fixed sentence.
std::string inSpanish(const Refusal& refusal);

}  // namespace jobshop
