// The checkpoint of a long count, "optima-checkpoint.json" beside optima.json: which instance and
// bound it counts, how the tree was cut, and the count of every subtree done. `optima --resume`
// reads it back and counts only the rest.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/failure.h"

namespace jobshop {

inline constexpr const char* kCountCheckpointFileName = "optima-checkpoint.json";

struct CountCheckpoint {
  std::string instanceSha256;
  int jobs = 0;
  int machines = 0;
  int bound = 0;
  int subtrees = 0;  // how many the tree was cut into
  // Each subtree done: its index in the cut and its count's decimal digits.
  std::vector<std::pair<int, std::string>> done;
};

std::string countCheckpointJson(const CountCheckpoint& checkpoint);

// Reads a checkpoint, or why the text is not one (a subtree index out of range or given twice, a
// count that is not digits).
OrFailure<CountCheckpoint> parseCountCheckpoint(const std::string& text);

}  // namespace jobshop
