// Choosing between two genes by a random bit without a branch, which would mispredict half the
// time.
#pragma once

#include <bit>
#include <cstdint>

namespace jobshop {

// ifSet when bit is 1, ifClear when it is 0 (bit must be 0 or 1); the bits of the chosen value
// are passed on unchanged.
inline float selectByBit(unsigned bit, float ifSet, float ifClear) {
  const std::uint32_t set = 0u - bit;
  return std::bit_cast<float>((std::bit_cast<std::uint32_t>(ifSet) & set) |
                              (std::bit_cast<std::uint32_t>(ifClear) & ~set));
}

}  // namespace jobshop
