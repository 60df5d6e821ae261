// Individuals and Populations: N individuals of L genes and one fitness slot each, stored back to
// back in one contiguous array of floats and addressed by index arithmetic.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace jobshop {

struct Population {
  int size = 0;               // N
  int geneCount = 0;          // L
  std::vector<float> values;  // size * (geneCount + 1)

  Population() = default;
  Population(int individuals, int genes)
      : size(individuals),
        geneCount(genes),
        values(static_cast<std::size_t>(individuals) * static_cast<std::size_t>(genes + 1), 0.0f) {}

  std::size_t stride() const { return static_cast<std::size_t>(geneCount) + 1; }
  // Genes of individual k (0-based); the fitness slot follows the last gene.
  float* genes(int k) { return values.data() + static_cast<std::size_t>(k) * stride(); }
  const float* genes(int k) const { return values.data() + static_cast<std::size_t>(k) * stride(); }
  float& fitness(int k) { return genes(k)[geneCount]; }
  float fitness(int k) const { return genes(k)[geneCount]; }

  void clear() { std::fill(values.begin(), values.end(), 0.0f); }
};

// A makespan or gene converted to an integer by truncation toward zero; values beyond the int
// range saturate instead of being undefined.
inline int truncateToInt(float value) {
  if (value >= 2147483648.0f) return 2147483647;
  if (value < -2147483648.0f) return -2147483647 - 1;
  return static_cast<int>(value);
}

// Copies individual `from` of `source` whole (genes and fitness) over individual `to` of `target`.
inline void copyIndividual(const Population& source, int from, Population& target, int to) {
  std::copy_n(source.genes(from), source.stride(), target.genes(to));
}

}  // namespace jobshop
