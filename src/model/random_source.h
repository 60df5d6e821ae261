// The program's one random generator: a 64-bit linear congruential generator whose draws every
// randomised step consumes in a fixed order, so that a seed fixes every result.
#pragma once

#include <cstdint>

struct RandomSource {
  std::uint64_t state = 0;
  // The last bound and its 64-bit reciprocal: the niching steps draw thousands of times with the
  // same bound, and a multiplication is much cheaper than a division.
  std::uint32_t divisor = 0;
  std::uint64_t reciprocal = 0;

  // S := (seed * 22695477 + 1) mod 2^32, high half zero.
  void seedRandom(std::uint32_t seed) { state = static_cast<std::uint32_t>(seed * 22695477u + 1u); }
  // One 64-bit step; bits 32..62 of the new state.
  int rawRandom() {
    state = state * 0x0000015A00004E35ull + 1u;
    return static_cast<int>((state >> 32) & 0x7FFFFFFFu);
  }
  // 0..n-1 by remainder (no bias correction); n = 0 gives 0 without advancing.
  int randomBelow(int n) {
    if (n == 0) return 0;
    return static_cast<int>(remainder(static_cast<std::uint32_t>(rawRandom()), n));
  }
  // raw mod n, exactly: a power of two by a mask, any other bound by multiplying with its
  // reciprocal (exact for every 32-bit raw and n), computed once per change of bound.
  std::uint32_t remainder(std::uint32_t raw, int n) {
    const auto bound = static_cast<std::uint32_t>(n);
    if ((bound & (bound - 1)) == 0) return raw & (bound - 1);
    if (bound != divisor) {
      divisor = bound;
      reciprocal = ~std::uint64_t{0} / bound + 1;
    }
    const std::uint64_t fraction = reciprocal * raw;
    return static_cast<std::uint32_t>((static_cast<unsigned __int128>(fraction) * bound) >> 64);
  }

  // Advances the generator exactly as `count` calls of randomBelow(bound) whose values are not
  // needed, in O(log count) steps: the k-step map S -> A^k S + (A^(k-1) + ... + 1) is squared up.
  void skipDraws(int bound, int count) {
    if (bound == 0 || count <= 0) return;
    std::uint64_t multiplier = 1, increment = 0;
    std::uint64_t stepMultiplier = 0x0000015A00004E35ull, stepIncrement = 1;
    for (auto k = static_cast<std::uint64_t>(count); k > 0; k >>= 1) {
      if (k & 1u) {
        multiplier *= stepMultiplier;
        increment = increment * stepMultiplier + stepIncrement;
      }
      stepIncrement *= stepMultiplier + 1;
      stepMultiplier *= stepMultiplier;
    }
    state = state * multiplier + increment;
  }
};
