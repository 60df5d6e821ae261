// Solutions of one run that hold the same machine sequences, which a run's block of distinct
// optima never should: found by sorting, so that a block of any length is checked in
// n log n rather than by comparing every pair.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "results/result_file_parsing.h"

namespace jobshop {

struct RepeatedSolutions {
  // (earlier, later) indices into the solutions, ordered by earlier and then later, at most the
  // limit asked for.
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  std::size_t total = 0;  // every such pair, listed or not
};

RepeatedSolutions repeatedSolutions(const std::vector<RecordedSolution>& solutions,
                                    std::size_t limit);

}  // namespace jobshop
