// A draw source that replays a given list of draws instead of generating them, for tests only:
// every routine that draws is written against "a source with randomBelow", so tests pin each
// choice exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace jobshop::detail {

struct ScriptedRandom {
  std::vector<int> draws;
  std::size_t next = 0;
  std::vector<int> bounds;  // the n of every randomBelow(n) that consumed a draw, in order
  std::vector<std::uint32_t> seeds;
  bool misused = false;  // a draw outside 0..n-1, or more draws asked than scripted

  explicit ScriptedRandom(std::vector<int> scripted = {}) : draws(std::move(scripted)) {}

  void seedRandom(std::uint32_t seed) { seeds.push_back(seed); }
  int randomBelow(int n) {
    if (n == 0) return 0;
    bounds.push_back(n);
    if (next >= draws.size()) {
      misused = true;
      return 0;
    }
    int d = draws[next++];
    if (d < 0 || d >= n) misused = true;
    return d;
  }
  void randomBelowMany(int n, int count, int* out) {
    for (int i = 0; i < count; ++i) out[i] = randomBelow(n);
  }
  // Consumes `count` scripted draws of randomBelow(bound) whose values are not used.
  void skipDraws(int bound, int count) {
    for (int i = 0; i < count; ++i) randomBelow(bound);
  }
  bool allConsumed() const { return next == draws.size(); }
};

}  // namespace jobshop::detail
