// The program's one random generator: a 64-bit linear congruential generator whose draws every
// randomised step consumes in a fixed order, so that a seed fixes every result.
#pragma once

#include <cstdint>

namespace jobshop {

struct RandomSource {
  std::uint64_t state = 0;
  // The bound whose 64-bit reciprocal is cached, and the bound of the last division.
  std::uint32_t divisor = 0;
  std::uint64_t reciprocal = 0;
  std::uint32_t lastBound = 0;

  // S := (seed * 22695477 + 1) mod 2^32, high half zero.
  void seedRandom(std::uint32_t seed) { state = static_cast<std::uint32_t>(seed * 22695477u + 1u); }
  // One 64-bit step; bits 32..62 of the new state.
  static constexpr std::uint64_t kMultiplier = 0x0000015A00004E35ull;
  int rawRandom() {
    state = state * kMultiplier + 1u;
    return static_cast<int>(rawOf(state));
  }
  static std::uint32_t rawOf(std::uint64_t s) {
    return static_cast<std::uint32_t>((s >> 32) & 0x7FFFFFFFu);
  }
  // 0..n-1 by remainder (no bias correction); n = 0 gives 0 without advancing.
  int randomBelow(int n) {
    if (n == 0) return 0;
    return static_cast<int>(remainder(static_cast<std::uint32_t>(rawRandom()), n));
  }
  // raw mod n, exactly: a power of two by a mask; a bound met twice in a row by multiplying with
  // its reciprocal (exact for every 32-bit raw and n), which is computed once; any other bound by
  // one division. The niching steps draw thousands of times with one bound, while the scramble
  // changes the bound at every draw, where a 64-bit reciprocal would cost more than it saves.
  std::uint32_t remainder(std::uint32_t raw, int n) {
    const auto bound = static_cast<std::uint32_t>(n);
    if ((bound & (bound - 1)) == 0) return raw & (bound - 1);
    if (bound != divisor) {
      if (bound != lastBound) {
        lastBound = bound;
        return raw % bound;
      }
      cacheReciprocal(bound);
    }
    return Divisor{bound, reciprocal}.remainder(raw);
  }
  void cacheReciprocal(std::uint32_t bound) {
    if (bound == divisor || (bound & (bound - 1)) == 0) return;
    divisor = bound;
    reciprocal = ~std::uint64_t{0} / bound + 1;
  }
  struct Divisor {
    std::uint32_t bound;
    std::uint64_t reciprocal;  // used only when bound is not a power of two
    std::uint32_t remainder(std::uint32_t raw) const {
      if ((bound & (bound - 1)) == 0) return raw & (bound - 1);
      const std::uint64_t fraction = reciprocal * raw;
      return static_cast<std::uint32_t>((static_cast<unsigned __int128>(fraction) * bound) >> 64);
    }
  };

  // out[0..count) = count successive randomBelow(n), leaving the same state. Four steps are taken
  // at a time from one state, so that their multiplications do not wait on one another.
  void randomBelowMany(int n, int count, int* out) {
    // The k-step map S -> a_k S + c_k for k = 1..4.
    constexpr std::uint64_t a1 = kMultiplier;
    constexpr std::uint64_t a2 = a1 * a1;
    constexpr std::uint64_t a3 = a2 * a1;
    constexpr std::uint64_t a4 = a3 * a1;
    constexpr std::uint64_t c2 = a1 + 1;
    constexpr std::uint64_t c3 = a2 + c2;
    constexpr std::uint64_t c4 = a3 + c3;
    int k = 0;
    if (n != 0 && count >= 4) {
      cacheReciprocal(static_cast<std::uint32_t>(n));
      const Divisor d{static_cast<std::uint32_t>(n), reciprocal};
      std::uint64_t s = state;
      for (; k + 4 <= count; k += 4) {
        out[k] = static_cast<int>(d.remainder(rawOf(s * a1 + 1)));
        out[k + 1] = static_cast<int>(d.remainder(rawOf(s * a2 + c2)));
        out[k + 2] = static_cast<int>(d.remainder(rawOf(s * a3 + c3)));
        out[k + 3] = static_cast<int>(d.remainder(rawOf(s * a4 + c4)));
        s = s * a4 + c4;
      }
      state = s;
    }
    for (; k < count; ++k) out[k] = randomBelow(n);
  }

  // Advances the generator exactly as `count` calls of randomBelow(bound) whose values are not
  // needed, in O(log count) steps: the k-step map S -> A^k S + (A^(k-1) + ... + 1) is squared up.
  void skipDraws(int bound, int count) {
    if (bound == 0 || count <= 0) return;
    std::uint64_t multiplier = 1;
    std::uint64_t increment = 0;
    std::uint64_t stepMultiplier = kMultiplier;
    std::uint64_t stepIncrement = 1;
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

}  // namespace jobshop
