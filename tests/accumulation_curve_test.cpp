// The accumulation curve against a count over every set of runs, and on many runs.
#include "analysis/accumulation_curve.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

namespace jobshop {

TEST(AccumulationCurve, AveragesDistinctSchedulesOverEverySetOfRuns) {
  // Six runs (bits) and the schedules each found; which runs found a schedule must not matter,
  // only how many did.
  const std::vector<unsigned> heldBy = {0b000001, 0b000011, 0b101010, 0b111111,
                                        0b010000, 0b100100, 0b011101};
  constexpr std::size_t kRuns = 6;
  std::vector<std::size_t> runsHolding;
  for (const unsigned runs : heldBy) runsHolding.push_back(std::popcount(runs));
  const std::vector<double> curve = accumulationCurve(runsHolding, kRuns);
  ASSERT_EQ(curve.size(), kRuns);

  std::vector<double> distinctSum(kRuns + 1, 0.0), subsets(kRuns + 1, 0.0);
  for (unsigned chosen = 1; chosen < (1u << kRuns); ++chosen) {
    const auto size = static_cast<std::size_t>(std::popcount(chosen));
    subsets[size] += 1;
    for (const unsigned runs : heldBy) distinctSum[size] += (runs & chosen) != 0 ? 1 : 0;
  }
  for (std::size_t t = 1; t <= kRuns; ++t)
    EXPECT_NEAR(curve[t - 1], distinctSum[t] / subsets[t], 1e-12) << "t = " << t;
  // One run finds U / T schedules on average; all of them together find every one.
  EXPECT_NEAR(curve.front(), (1.0 + 2 + 3 + 6 + 1 + 2 + 4) / 6.0, 1e-12);
  EXPECT_NEAR(curve.back(), 7.0, 1e-12);
}

TEST(AccumulationCurve, StaysFiniteAndRisingOverTenThousandRuns) {
  constexpr std::size_t kRuns = 10000;
  std::vector<std::size_t> runsHolding;
  for (std::size_t k = 1; k <= 400; ++k) runsHolding.push_back(k * k % kRuns + 1);
  runsHolding.push_back(kRuns);
  const std::vector<double> curve = accumulationCurve(runsHolding, kRuns);
  ASSERT_EQ(curve.size(), kRuns);
  for (std::size_t t = 0; t < kRuns; ++t) {
    ASSERT_TRUE(std::isfinite(curve[t])) << "t = " << t + 1;
    if (t > 0) {
      ASSERT_GE(curve[t], curve[t - 1] - 1e-9) << "t = " << t + 1;
    }
  }
  EXPECT_NEAR(curve.back(), 401.0, 1e-9);
}

TEST(AccumulationCurve, NoRunsNoCurve) {
  EXPECT_TRUE(accumulationCurve({}, 0).empty());
  EXPECT_EQ(accumulationCurve({}, 3), (std::vector<double>{0, 0, 0}));
}

}  // namespace jobshop
