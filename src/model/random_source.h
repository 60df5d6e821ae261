// The program's one random generator: a 64-bit linear congruential generator whose draws every
// randomised step consumes in a fixed order, so that a seed fixes every result.
#pragma once

#include <cstdint>

struct RandomSource {
  std::uint64_t state = 0;

  // S := (seed * 22695477 + 1) mod 2^32, high half zero.
  void seedRandom(std::uint32_t seed) { state = static_cast<std::uint32_t>(seed * 22695477u + 1u); }
  // One 64-bit step; bits 32..62 of the new state.
  int rawRandom() {
    state = state * 0x0000015A00004E35ull + 1u;
    return static_cast<int>((state >> 32) & 0x7FFFFFFFu);
  }
  // 0..n-1 by remainder (no bias correction); n = 0 gives 0 without advancing.
  int randomBelow(int n) { return n == 0 ? 0 : rawRandom() % n; }
};
