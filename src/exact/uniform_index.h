// A uniform random index below n by rejection, written out rather than taken from <random>'s
// distributions, whose draws differ between standard libraries: the same seed must give the same
// probes and the same order of subtrees wherever the program is built.
#pragma once

#include <cstdint>
#include <random>

namespace jobshop {

// Of the 2^64 raw values, the lowest 2^64 mod n are refused, so the values kept fall in whole
// blocks of n and x % n hits each index equally often; (0 - n) % n is 2^64 mod n. n >= 1.
inline std::uint64_t uniformIndexBelow(std::mt19937_64& random, std::uint64_t n) {
  const std::uint64_t refused = (std::uint64_t{0} - n) % n;
  std::uint64_t x = random();
  while (x < refused) x = random();
  return x % n;
}

}  // namespace jobshop
