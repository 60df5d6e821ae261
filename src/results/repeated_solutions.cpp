// Solutions of one run that hold the same machine sequences, found by sorting.
#include "results/repeated_solutions.h"

#include <algorithm>
#include <numeric>

namespace jobshop {

namespace {

// Per solution, the index of the next solution with the same sequences (or none): equal
// sequences sit together once the indices are sorted by sequences, then by index.
std::vector<std::size_t> nextSame(const std::vector<RecordedSolution>& solutions) {
  const std::size_t n = solutions.size();
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (solutions[a].sequences != solutions[b].sequences)
      return solutions[a].sequences < solutions[b].sequences;
    return a < b;
  });
  std::vector<std::size_t> next(n, n);
  for (std::size_t k = 0; k + 1 < n; ++k) {
    if (solutions[order[k]].sequences == solutions[order[k + 1]].sequences)
      next[order[k]] = order[k + 1];
  }
  return next;
}

}  // namespace

RepeatedSolutions repeatedSolutions(const std::vector<RecordedSolution>& solutions,
                                    std::size_t limit) {
  const std::size_t n = solutions.size();
  const std::vector<std::size_t> next = nextSame(solutions);
  RepeatedSolutions repeated;
  // A group of g equal solutions holds g(g-1)/2 pairs: each member pairs with every later one.
  std::vector<std::size_t> later(n, 0);
  for (std::size_t i = n; i-- > 0;) {
    if (next[i] < n) later[i] = later[next[i]] + 1;
    repeated.total += later[i];
  }
  for (std::size_t i = 0; i < n && repeated.pairs.size() < limit; ++i) {
    for (std::size_t j = next[i]; j < n && repeated.pairs.size() < limit; j = next[j])
      repeated.pairs.emplace_back(i, j);
  }
  return repeated;
}

}  // namespace jobshop
