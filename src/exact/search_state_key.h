// What decides the completions of a node of the exact search, packed into a key: two nodes with
// equal keys have the same number of completions within their bounds.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "exact/search_node.h"

namespace jobshop {

// The layout of one problem's keys: every key of it has the same number of 64-bit words.
struct StateKeyShape {
  int jobs = 0;
  int machines = 0;
  int timeWords = 1;  // 16-bit words per time: 2 once the bound no longer fits in 16 bits
  int words = 0;      // 64-bit words of a key
};

StateKeyShape stateKeyShape(const SearchProblem& problem, int bound);

// Writes nodes' keys. A key holds, relative to the start of the operation appended last: how far
// each job has got, when each unfinished job's next operation and each machine can start, which
// jobs the canonical order forbids, and the slack left to the bound. Every operation still to
// come starts at or after that start, so earlier times, and times nothing still to come can read,
// change nothing, and the whole node can be shifted in time.
class StateKeyWriter {
 public:
  StateKeyWriter(const SearchProblem& problem, int bound);
  const StateKeyShape& shape() const { return shape_; }
  // Writes node's key into key (shape().words words).
  void write(const SearchNode& node, std::span<std::uint64_t> key);

 private:
  StateKeyShape shape_;
  std::vector<int> jobFree_;
};

std::uint64_t stateKeyHash(std::span<const std::uint64_t> key);

}  // namespace jobshop
