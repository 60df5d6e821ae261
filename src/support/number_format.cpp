#include "support/number_format.h"

#include <cstdio>

namespace jobshop {

std::string fixedNumber(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

}  // namespace jobshop
