// Numbers written for people and for files, in one spelling everywhere.
#pragma once

#include <string>

namespace jobshop {

// `value` with exactly `decimals` digits after the point, as printf's "%.*f" writes it.
std::string fixedNumber(double value, int decimals);

}  // namespace jobshop
