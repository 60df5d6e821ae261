// Cell-distance histograms counted by hand on a few short schedules, and the sampling of many.
#include "analysis/distance_histograms.h"

#include <gtest/gtest.h>

#include "schedule_sets.h"

namespace jobshop {

namespace {

// The index-th of a family of 4-job rows on 3 machines, most of them distinct.
std::vector<int> numbered(int index) {
  std::vector<int> row(12);
  for (int c = 0; c < 12; ++c) row[static_cast<std::size_t>(c)] = 1 + (index >> c) % 4;
  return row;
}

}  // namespace

TEST(DistanceHistograms, CountsHandCountedPairsAndNearestDistances) {
  const std::vector<int> a{1, 2, 3, 4}, b{1, 2, 4, 3}, c{2, 1, 3, 4};
  const std::vector<int> d{1, 3, 2, 4}, e{4, 3, 2, 1};
  // Found: a-b 2, a-c 2, b-c 4.
  const OptimumUnion found = unionOf({a, b, c});
  // Listed a, b, d, e: a-b 2, a-d 2, a-e 4, b-d 3, b-e 4, d-e 2. Unfound d is 2 from a (3 from b
  // and c); unfound e is 4 from each found one.
  const DistanceHistograms histograms = distanceHistograms(found, listOf({a, b, d, e}));
  EXPECT_EQ(histograms.found.pairs, (std::vector<std::size_t>{0, 0, 2, 0, 1}));
  EXPECT_EQ(histograms.found.total, 3u);
  EXPECT_FALSE(histograms.found.sampled);
  ASSERT_TRUE(histograms.listed);
  EXPECT_EQ(histograms.listed->pairs, (std::vector<std::size_t>{0, 0, 3, 1, 2}));
  EXPECT_EQ(histograms.listed->total, 6u);
  EXPECT_FALSE(histograms.listed->sampled);
  ASSERT_TRUE(histograms.nearestFound);
  EXPECT_EQ(histograms.nearestFound->pairs, (std::vector<std::size_t>{0, 0, 1, 0, 1}));
  EXPECT_EQ(histograms.nearestFound->total, 2u);

  // Cumulative shares at 2, 3, 4: found 2/3, 2/3, 1; listed 3/6, 4/6, 1. Largest gap 2/3 - 1/2.
  ASSERT_TRUE(histograms.foundListedGap);
  EXPECT_DOUBLE_EQ(*histograms.foundListedGap, 1.0 / 6.0);

  EXPECT_EQ(medianDistance(histograms.found), 2);
  EXPECT_EQ(medianDistance(histograms.listed.value()), 2);
  EXPECT_EQ(medianDistance(DistanceHistogram{{0, 1, 0, 3}, 4, false}), 3);
  EXPECT_EQ(medianDistance(DistanceHistogram{}), std::nullopt);
}

TEST(DistanceHistograms, WithoutAListOrWithoutFoundSchedulesTheirHistogramsAreAbsent) {
  const std::vector<int> a{1, 2, 3, 4}, b{1, 2, 4, 3};
  const DistanceHistograms unlisted = distanceHistograms(unionOf({a, b}), std::nullopt);
  EXPECT_EQ(unlisted.found.pairs, (std::vector<std::size_t>{0, 0, 1}));
  EXPECT_FALSE(unlisted.listed);
  EXPECT_FALSE(unlisted.nearestFound);
  EXPECT_FALSE(unlisted.foundListedGap);

  OptimaCoverage counted = listOf({a, b});
  counted.listed = false;  // only a count, no list to compare against
  EXPECT_FALSE(distanceHistograms(unionOf({a}), counted).listed);

  const DistanceHistograms none = distanceHistograms(unionOf({}), listOf({a, b}));
  EXPECT_EQ(none.found.total, 0u);
  EXPECT_TRUE(none.found.pairs.empty());
  ASSERT_TRUE(none.listed);
  EXPECT_EQ(none.listed->total, 1u);
  EXPECT_FALSE(none.nearestFound);
  EXPECT_FALSE(none.foundListedGap);
}

TEST(DistanceHistograms, DistributionGapIsTheLargestGapBetweenCumulativeShares) {
  // Two peaks at 10 and 30 around one peak at 20: both medians are 20, yet at 10 the shares are
  // 4/9 against 0 and at 20 they are 5/9 against 1, by hand.
  DistanceHistogram peaks{std::vector<std::size_t>(31, 0), 9, false};
  peaks.pairs[10] = 4;
  peaks.pairs[20] = 1;
  peaks.pairs[30] = 4;
  DistanceHistogram onePeak{std::vector<std::size_t>(21, 0), 9, false};
  onePeak.pairs[20] = 9;
  EXPECT_EQ(medianDistance(peaks), medianDistance(onePeak));
  EXPECT_DOUBLE_EQ(distributionGap(peaks, onePeak).value(), 4.0 / 9.0);
  EXPECT_DOUBLE_EQ(distributionGap(onePeak, peaks).value(), 4.0 / 9.0);

  // The same shares from different totals: 1/2, 1/2 against 3/6, 3/6, no gap.
  EXPECT_DOUBLE_EQ(distributionGap({{0, 1, 1}, 2, false}, {{0, 3, 3}, 6, false}).value(), 0.0);
  // No distance in common, histograms of different lengths: at 1 the shares are 1 against 0.
  EXPECT_DOUBLE_EQ(distributionGap({{0, 2}, 2, false}, {{0, 0, 0, 5}, 5, false}).value(), 1.0);
  EXPECT_EQ(distributionGap(DistanceHistogram{}, onePeak), std::nullopt);
  EXPECT_EQ(distributionGap(onePeak, DistanceHistogram{}), std::nullopt);
}

TEST(DistanceHistograms, ManyListedSchedulesAreSampledTheSameWayEachTime) {
  std::vector<std::vector<int>> listed;
  for (int k = 0; k < 600; ++k) listed.push_back(numbered(k * 7919));
  const OptimaCoverage coverage = listOf(listed);
  ASSERT_GT(coverage.enumeration.schedules.size() * (coverage.enumeration.schedules.size() - 1) / 2,
            kCountedPairs);
  const OptimumUnion found = unionOf({listed[0], listed[1], listed[2]});
  const DistanceHistograms first = distanceHistograms(found, coverage);
  const DistanceHistograms second = distanceHistograms(found, coverage);
  ASSERT_TRUE(first.listed);
  EXPECT_TRUE(first.listed->sampled);
  EXPECT_EQ(first.listed->total, kCountedPairs);
  std::size_t sum = 0;
  for (std::size_t n : first.listed->pairs) sum += n;
  EXPECT_EQ(sum, kCountedPairs);
  EXPECT_EQ(first.listed->pairs, second.listed->pairs);
  // A sampled pair is never a schedule with itself.
  EXPECT_EQ(first.listed->pairs.at(0), 0u);
  ASSERT_TRUE(first.nearestFound);
  EXPECT_EQ(first.nearestFound->total, coverage.enumeration.schedules.size() - 3);
}

}  // namespace jobshop
