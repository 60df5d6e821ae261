// The stable makespan sort gives one order whatever the population's size: small ones by insertion,
// large ones by merging, both ascending with ties in their former order, so that a large population
// is ordered in n log n time without changing a single run.
#include "model/fitness_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "test_seed.h"

namespace jobshop {

namespace {

// The expected order, found another way: (key, former position) pairs sorted whole.
std::vector<std::pair<float, int>> expectedOrder(const std::vector<float>& keys) {
  std::vector<std::pair<float, int>> pairs;
  for (std::size_t k = 0; k < keys.size(); ++k) pairs.emplace_back(keys[k], static_cast<int>(k));
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}

}  // namespace

TEST(FitnessSort, EverySizeGivesTheStableAscendingOrder) {
  const unsigned seed = testSeed();
  SCOPED_TRACE("keys drawn from " + replayNote(seed));
  std::mt19937 random(seed);
  for (const int n : {2, 1000, 1024, 1025, 4097, 200000}) {
    // Few distinct makespans, so that most keys tie; then the same keys nearly sorted and reversed.
    std::vector<float> keys(static_cast<std::size_t>(n));
    for (float& key : keys)
      key = static_cast<float>(std::uniform_int_distribution<int>(0, 40)(random));
    std::vector<float> nearlySorted = keys;
    std::sort(nearlySorted.begin(), nearlySorted.end());
    std::swap(nearlySorted.front(), nearlySorted.back());
    std::vector<float> reversed = keys;
    std::sort(reversed.rbegin(), reversed.rend());
    for (const std::vector<float>& input : {keys, nearlySorted, reversed}) {
      SCOPED_TRACE("n = " + std::to_string(n));
      std::vector<float> values = input;
      std::vector<int> indices(values.size());
      std::iota(indices.begin(), indices.end(), 0);
      sortByFitness(indices.data(), values.data(), n);
      const std::vector<std::pair<float, int>> expected = expectedOrder(input);
      std::vector<std::pair<float, int>> sorted;
      for (std::size_t r = 0; r < values.size(); ++r) sorted.emplace_back(values[r], indices[r]);
      EXPECT_EQ(sorted, expected);
    }
  }
}

}  // namespace jobshop
