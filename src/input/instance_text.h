// The "D_Entrada.txt" text of an Instance, as the import command and campaigns write it.
#pragma once

#include <string>

#include "input/instance.h"

namespace jobshop {

// The instance as "D_Entrada.txt" text: J, M and the target on lines 1 to 3, then J lines of times
// in machine order and J lines of routing, values separated by single spaces, every line ending
// with "\n".
std::string formatInstanceFile(const Instance& instance);

}  // namespace jobshop
