// What to do about an input of the main run that cannot be opened: the fixed message on standard
// output says only that one could not be; these lines say which, and the command that writes it.
#pragma once

#include <string>

namespace jobshop {

// Lines for standard error about the inputs of folder ("" or a path ending in '/', as --dir gives
// it): a folder that does not exist; each of "D_Entrada.txt" and "D_Algoritmo.txt" that does not
// exist, with the command that writes it; one that exists but cannot be read, with the reason.
// "" when both can be opened.
std::string missingInputHints(const std::string& folder);

}  // namespace jobshop
