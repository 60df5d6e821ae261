// The checkpoint of a long count, "optima-checkpoint.json" beside optima.json: which instance and
// bound it counts, how the tree was cut, the count of every subtree done and, of each subtree begun
// and not done, where its walk stopped and the count of what it had finished before that place.
// `optima --resume` reads it back and counts only the rest.
#pragma once

#include <optional>
#include <set>
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
  // Each subtree begun and not done: its index, the jobs appended below its root down to the
  // place its walk stopped (jobs from 0), and the count of everything before that place. A
  // checkpoint written before these were kept has none.
  struct Partial {
    int index = 0;
    std::vector<int> at;
    std::string count;
    bool operator==(const Partial&) const = default;
  };
  std::vector<Partial> partial;
};

std::string countCheckpointJson(const CountCheckpoint& checkpoint);

// Reads a checkpoint, or why the text is not one (a subtree index out of range or given twice, a
// count that is not digits, a place with a job out of range or longer than a schedule).
OrFailure<CountCheckpoint> parseCountCheckpoint(const std::string& text);

}  // namespace jobshop
