// The leaf order of the average-linkage dendrogram: clusters come out as blocks, ties go to the
// lowest members, and the order agrees with a plain from-scratch clustering on random matrices.
#include "analysis/average_linkage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "schedule_sets.h"

namespace jobshop {

namespace {

using Matrix = std::vector<std::vector<int>>;
using Order = std::vector<std::size_t>;

Matrix symmetric(std::size_t n, const std::vector<std::vector<int>>& above) {
  Matrix matrix(n, std::vector<int>(n, 0));
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      matrix[i][j] = above[i][j - i - 1];
      matrix[j][i] = above[i][j - i - 1];
    }
  }
  return matrix;
}

// The clustering done the long way: every step recomputes every pair's sum over its members and
// takes the smallest average, the first pair in order of lowest members among equals.
Order plainAverageLinkage(const Matrix& matrix) {
  std::vector<Order> clusters;  // kept in order of their lowest member
  for (std::size_t i = 0; i < matrix.size(); ++i) clusters.push_back({i});
  while (clusters.size() > 1) {
    std::size_t bestA = 0, bestB = 1;
    std::int64_t bestSum = -1, bestPairs = 1;
    for (std::size_t a = 0; a < clusters.size(); ++a) {
      for (std::size_t b = a + 1; b < clusters.size(); ++b) {
        std::int64_t sum = 0;
        for (std::size_t i : clusters[a]) {
          for (std::size_t j : clusters[b]) sum += matrix[i][j];
        }
        const auto pairs = static_cast<std::int64_t>(clusters[a].size() * clusters[b].size());
        if (bestSum < 0 || sum * bestPairs < bestSum * pairs) {
          bestA = a, bestB = b, bestSum = sum, bestPairs = pairs;
        }
      }
    }
    clusters[bestA].insert(clusters[bestA].end(), clusters[bestB].begin(), clusters[bestB].end());
    clusters.erase(clusters.begin() + static_cast<std::ptrdiff_t>(bestB));
  }
  return clusters.empty() ? Order{} : clusters.front();
}

// Where each of the given points sits in order, sorted: a block when they are consecutive.
bool formsABlock(const Order& order, const Order& points) {
  std::vector<std::size_t> places;
  for (std::size_t point : points) {
    places.push_back(
        static_cast<std::size_t>(std::find(order.begin(), order.end(), point) - order.begin()));
  }
  std::sort(places.begin(), places.end());
  return places.back() - places.front() + 1 == places.size();
}

}  // namespace

TEST(AverageLinkage, InterleavedClustersComeOutAsBlocks) {
  // Two groups far apart on a line, their members interleaved in the matrix.
  const Order two = averageLinkageOrder(onALine({0, 100, 1, 102, 3}));
  EXPECT_EQ(two, (Order{0, 2, 4, 1, 3}));

  // Three groups: the one around 55 gathers 4 and 6, then 1, then 0; it is nearer the pair at
  // 100 than the group around 2, which joins last.
  const Matrix three = onALine({50, 58, 0, 100, 55, 2, 56, 101, 5});
  const Order order = averageLinkageOrder(three);
  EXPECT_TRUE(formsABlock(order, {2, 5, 8}));
  EXPECT_TRUE(formsABlock(order, {0, 1, 4, 6}));
  EXPECT_TRUE(formsABlock(order, {3, 7}));
  EXPECT_EQ(order, (Order{0, 1, 4, 6, 3, 7, 2, 5, 8}));
}

TEST(AverageLinkage, TiesGoToThePairWithTheLowestMembers) {
  // 2 is as close to 0 as to 1: the pair 0, 2 comes before 1, 2 and merges first.
  EXPECT_EQ(averageLinkageOrder(symmetric(3, {{3, 1}, {1}})), (Order{0, 2, 1}));
  // 0 is as close to 1 as to 2: the pair 0, 1 has the lower second member and merges first.
  EXPECT_EQ(averageLinkageOrder(symmetric(3, {{1, 1}, {3}})), (Order{0, 1, 2}));
  // All equal: every step takes the lowest pair, and the order stays as it was.
  EXPECT_EQ(averageLinkageOrder(symmetric(4, {{2, 2, 2}, {2, 2}, {2}})), (Order{0, 1, 2, 3}));
}

TEST(AverageLinkage, NoneOneAndTwoPoints) {
  EXPECT_EQ(averageLinkageOrder({}), Order{});
  EXPECT_EQ(averageLinkageOrder({{0}}), (Order{0}));
  EXPECT_EQ(averageLinkageOrder({{0, 7}, {7, 0}}), (Order{0, 1}));
  EXPECT_EQ(averageLinkageOrder({{0, 0}, {0, 0}}), (Order{0, 1}));
}

// Small distances make ties frequent, so the cached nearest clusters must follow the rule too.
TEST(AverageLinkage, AgreesWithAPlainClusteringOnRandomMatrices) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const std::size_t n = 1 + random() % 24;
    const int top = 1 + static_cast<int>(random() % 6);
    Matrix matrix(n, std::vector<int>(n, 0));
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = i + 1; j < n; ++j) {
        matrix[i][j] = matrix[j][i] = static_cast<int>(random() % static_cast<unsigned>(top + 1));
      }
    }
    const Order order = averageLinkageOrder(matrix);
    Order sorted = order;
    std::sort(sorted.begin(), sorted.end());
    Order every(n);
    std::iota(every.begin(), every.end(), std::size_t{0});
    ASSERT_EQ(sorted, every) << "not a permutation";
    ASSERT_EQ(order, plainAverageLinkage(matrix));
  }
}

}  // namespace jobshop
