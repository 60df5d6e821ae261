// One run's records as the five result files and the trace receive them, gathered in memory so
// that they can be committed to the files together.
#pragma once

#include <array>
#include <string>

#include "results/result_files.h"

namespace jobshop {

// Positions in kResultFileNames.
enum ResultFileIndex : std::size_t {
  kProgressFile = 0,
  kOptimaFile = 1,
  kOptimumCountFile = 2,
  kDistanceFile = 3,
  kSolutionFile = 4,
};

struct RunRecords {
  std::array<std::string, 5> text;
  std::string trace;
};

}  // namespace jobshop
