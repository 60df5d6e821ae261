// Points of a plane put through their distances come back as the same figure, up to rotation and
// reflection; degenerate inputs give a defined map rather than NaN.
#include "analysis/classical_scaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

namespace jobshop {

namespace {

std::vector<std::vector<double>> distancesOf(const std::vector<MapPoint>& points) {
  std::vector<std::vector<double>> distances(points.size(), std::vector<double>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i) {
    for (std::size_t j = 0; j < points.size(); ++j)
      distances[i][j] = std::hypot(points[i].x - points[j].x, points[i].y - points[j].y);
  }
  return distances;
}

void expectSameDistances(const std::vector<MapPoint>& original, const ScaledPoints& scaled) {
  ASSERT_EQ(scaled.points.size(), original.size());
  const auto want = distancesOf(original);
  const auto got = distancesOf(scaled.points);
  for (std::size_t i = 0; i < original.size(); ++i) {
    for (std::size_t j = 0; j < original.size(); ++j)
      ASSERT_NEAR(got[i][j], want[i][j], 1e-6 * (1.0 + want[i][j])) << i << ", " << j;
  }
}

}  // namespace

TEST(ClassicalScaling, PlanarFiguresComeBackUpToRotationAndReflection) {
  // A rectangle with its centre (two unequal axes), a square (two equal axes, which a method
  // finding one axis at a time would collapse onto a line) and a tilted line.
  const std::vector<std::vector<MapPoint>> figures = {
      {{0, 0}, {4, 0}, {4, 3}, {0, 3}, {2, 1.5}},
      {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
      {{0, 0}, {1, 1}, {3, 3}, {-2, -2}},
  };
  for (const std::vector<MapPoint>& figure : figures) {
    SCOPED_TRACE(figure.size());
    const ScaledPoints scaled = classicalScaling(distancesOf(figure));
    expectSameDistances(figure, scaled);
    EXPECT_NEAR(scaled.axisShare, 1.0, 1e-9);
  }
  // The line lies along the first axis.
  for (const MapPoint& point : classicalScaling(distancesOf(figures[2])).points)
    EXPECT_NEAR(point.y, 0.0, 1e-9);
}

TEST(ClassicalScaling, RandomPlanarPointsComeBack) {
  for (const std::uint64_t seed : {1u, 2u, 3u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> coordinate(-50.0, 50.0);
    std::vector<MapPoint> points(150);
    for (MapPoint& point : points) point = {coordinate(random), coordinate(random)};
    const ScaledPoints scaled = classicalScaling(distancesOf(points));
    expectSameDistances(points, scaled);
    EXPECT_NEAR(scaled.axisShare, 1.0, 1e-9);
  }
}

TEST(ClassicalScaling, FewOrCoincidentPointsGiveADefinedMap) {
  EXPECT_TRUE(classicalScaling({}).points.empty());

  const ScaledPoints one = classicalScaling({{0.0}});
  ASSERT_EQ(one.points.size(), 1u);
  EXPECT_EQ(one.points[0].x, 0.0);
  EXPECT_EQ(one.points[0].y, 0.0);
  EXPECT_EQ(one.axisShare, 0.0);

  const ScaledPoints two = classicalScaling({{0.0, 6.0}, {6.0, 0.0}});
  ASSERT_EQ(two.points.size(), 2u);
  EXPECT_NEAR(std::abs(two.points[0].x - two.points[1].x), 6.0, 1e-9);
  EXPECT_NEAR(two.points[0].x + two.points[1].x, 0.0, 1e-9);  // centred
  EXPECT_EQ(two.points[0].y, 0.0);
  EXPECT_EQ(two.points[1].y, 0.0);
  EXPECT_NEAR(two.axisShare, 1.0, 1e-12);

  const ScaledPoints same = classicalScaling(std::vector(5, std::vector(5, 0.0)));
  ASSERT_EQ(same.points.size(), 5u);
  for (const MapPoint& point : same.points) {
    EXPECT_EQ(point.x, 0.0);
    EXPECT_EQ(point.y, 0.0);
  }
  EXPECT_EQ(same.axisShare, 0.0);
}

TEST(ClassicalScaling, NonEuclideanDistancesGiveTheShareOfThePositiveMass) {
  // Four points all at distance 1 but for one pair at 2: no plane holds them, and the double-
  // centred matrix has a negative eigenvalue, which the share leaves out.
  const std::vector<std::vector<double>> distances = {
      {0, 1, 1, 2}, {1, 0, 1, 1}, {1, 1, 0, 1}, {2, 1, 1, 0}};
  const ScaledPoints scaled = classicalScaling(distances);
  EXPECT_GT(scaled.axisShare, 0.0);
  EXPECT_LE(scaled.axisShare, 1.0);
  for (const MapPoint& point : scaled.points) {
    EXPECT_TRUE(std::isfinite(point.x));
    EXPECT_TRUE(std::isfinite(point.y));
  }
}

TEST(ClassicalScaling, TheSameDistancesAlwaysGiveTheSameMap) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<int> job(1, 6);
  std::vector<std::vector<int>> rows(60, std::vector<int>(12));
  for (auto& row : rows) {
    for (int& cell : row) cell = job(random);
  }
  std::vector<std::vector<double>> distances(rows.size(), std::vector<double>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t j = 0; j < rows.size(); ++j) {
      for (std::size_t c = 0; c < 12; ++c) distances[i][j] += rows[i][c] != rows[j][c] ? 1 : 0;
    }
  }
  const ScaledPoints first = classicalScaling(distances);
  const ScaledPoints second = classicalScaling(distances);
  ASSERT_EQ(first.points.size(), second.points.size());
  double largestX = 0;
  double largestY = 0;
  for (std::size_t i = 0; i < first.points.size(); ++i) {
    EXPECT_EQ(first.points[i].x, second.points[i].x);
    EXPECT_EQ(first.points[i].y, second.points[i].y);
    if (std::abs(first.points[i].x) > std::abs(largestX)) largestX = first.points[i].x;
    if (std::abs(first.points[i].y) > std::abs(largestY)) largestY = first.points[i].y;
  }
  // Each axis is turned so that its largest component is positive.
  EXPECT_GT(largestX, 0.0);
  EXPECT_GT(largestY, 0.0);
}

}  // namespace jobshop
