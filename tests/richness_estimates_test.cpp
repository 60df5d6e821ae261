// The richness estimators on incidence counts small enough to work out by hand.
#include "analysis/richness_estimates.h"

#include <gtest/gtest.h>

namespace jobshop {

namespace {

constexpr double kTolerance = 1e-9;

}  // namespace

TEST(RichnessEstimates, GeneralCaseMatchesHandArithmetic) {
  // T = 5, k = 1 1 1 2 2 3 5: S_obs = 7, Q1 = 3, Q2 = 2, U = 15, a = 4/5.
  const auto estimates = estimateRichness({1, 1, 1, 2, 2, 3, 5}, 5);
  ASSERT_TRUE(estimates);
  EXPECT_EQ(estimates->observed, 7u);
  EXPECT_EQ(estimates->runs, 5u);
  EXPECT_EQ(estimates->q1, 3u);
  EXPECT_EQ(estimates->q2, 2u);
  // f0 = 0.8 * 3 * 2 / (2 * 3) = 0.8.
  EXPECT_NEAR(estimates->chao2, 7.8, kTolerance);
  // var = 0.8 + 0.64 * 3 * 25 / 36 + 0.64 * 9 * 2 * 4 / 324 = 2.2755...; computed independently:
  //   python3 -c "import math; f=0.8; v=0.8+0.64*3*25/36+0.64*9*2*4/324;
  //               C=math.exp(1.96*math.sqrt(math.log(1+v/f**2))); print(7+f/C, 7+f*C)"
  //   7.071597954887339 15.938802805290393
  EXPECT_NEAR(estimates->chao2Lower, 7.071597954887339, 1e-12);
  EXPECT_NEAR(estimates->chao2Upper, 15.938802805290393, 1e-12);
  EXPECT_NEAR(estimates->jackknife1, 9.4, kTolerance);   // 7 + 3 * 0.8
  EXPECT_NEAR(estimates->jackknife2, 10.3, kTolerance);  // 7 + 3 * 7/5 - 2 * 9/20
  EXPECT_NEAR(estimates->coverage, 0.85, kTolerance);    // 1 - (3/15) * (12 / (12 + 4))
}

TEST(RichnessEstimates, NoScheduleFoundTwiceStaysFinite) {
  // T = 4, k = 1 1 1: Q1 = 3, Q2 = 0, U = 3, a = 3/4; f0 = 0.75 * 3 * 2 / 2 = 2.25.
  const auto estimates = estimateRichness({1, 1, 1}, 4);
  ASSERT_TRUE(estimates);
  EXPECT_NEAR(estimates->chao2, 5.25, kTolerance);
  // var = 2.25 + 0.5625 * 3 * 25 / 4 = 12.796875 (the third term has Q2 = 0); python3 as above:
  //   3.249138184461037 23.320048534317415
  EXPECT_NEAR(estimates->chao2Lower, 3.249138184461037, 1e-12);
  EXPECT_NEAR(estimates->chao2Upper, 23.320048534317415, 1e-12);
  EXPECT_NEAR(estimates->jackknife1, 5.25, kTolerance);  // 3 + 3 * 3/4
  EXPECT_NEAR(estimates->jackknife2, 6.75, kTolerance);  // 3 + 3 * 5/4 - 0
  EXPECT_NEAR(estimates->coverage, 0.0, kTolerance);     // 1 - (3/3) * (9 / (9 + 0))
}

TEST(RichnessEstimates, NothingSeenOnceMeansNoUnseenSchedules) {
  // T = 4, k = 2 3 4: Q1 = 0, Q2 = 1; f0 = 0 and the interval is the observed count.
  const auto estimates = estimateRichness({2, 3, 4}, 4);
  ASSERT_TRUE(estimates);
  EXPECT_EQ(estimates->chao2, 3.0);
  EXPECT_EQ(estimates->chao2Lower, 3.0);
  EXPECT_EQ(estimates->chao2Upper, 3.0);
  EXPECT_EQ(estimates->jackknife1, 3.0);
  EXPECT_NEAR(estimates->jackknife2, 3.0 - 4.0 / 12.0, kTolerance);  // 3 - 1 * 2^2 / (4 * 3)
  EXPECT_EQ(estimates->coverage, 1.0);

  // A single schedule seen once gives Q1 (Q1 - 1) = 0: still no unseen part.
  const auto single = estimateRichness({1, 4}, 4);
  ASSERT_TRUE(single);
  EXPECT_EQ(single->chao2, 2.0);
  EXPECT_EQ(single->chao2Lower, 2.0);
  EXPECT_EQ(single->chao2Upper, 2.0);
  EXPECT_NEAR(single->jackknife1, 2.75, kTolerance);  // 2 + 1 * 3/4
}

TEST(RichnessEstimates, TwoRunsAreTheFewestThatEstimate) {
  EXPECT_FALSE(estimateRichness({1, 1}, 1));
  EXPECT_FALSE(estimateRichness({}, 0));
  // T = 2, k = 1 1 2: Q1 = 2, Q2 = 1, U = 4, a = 1/2; f0 = 0.5 * 2 * 1 / (2 * 2) = 0.25.
  const auto estimates = estimateRichness({1, 1, 2}, 2);
  ASSERT_TRUE(estimates);
  EXPECT_NEAR(estimates->chao2, 3.25, kTolerance);
  EXPECT_LT(estimates->chao2Lower, 3.25);
  EXPECT_GT(estimates->chao2Lower, 3.0);
  EXPECT_GT(estimates->chao2Upper, 3.25);
  EXPECT_NEAR(estimates->jackknife1, 4.0, kTolerance);  // 3 + 2 * 1/2
  EXPECT_NEAR(estimates->jackknife2, 4.0, kTolerance);  // 3 + 2 * 1/2 - 1 * 0 / 2
  EXPECT_NEAR(estimates->coverage, 0.75, kTolerance);   // 1 - (2/4) * (2 / (2 + 2))
}

TEST(RichnessEstimates, TooFewRepeatsLeaveOnlyALowerBound) {
  // T = 4, k = 1 1 1: Q2 = 0, coverage 0 (above): Chao2 leans on its bias-corrected form.
  EXPECT_TRUE(estimateRichness({1, 1, 1}, 4)->lowerBoundOnly);
  // T = 10, k = 1 1 and eight 10s: Q1 = 2, Q2 = 0, U = 82, coverage 1 - (2/82) * (18 / 18) =
  // 0.976, by hand; high, but with no schedule found twice it still bounds from below.
  const auto noPairs = estimateRichness({1, 1, 10, 10, 10, 10, 10, 10, 10, 10}, 10);
  EXPECT_NEAR(noPairs->coverage, 80.0 / 82.0, kTolerance);
  EXPECT_TRUE(noPairs->lowerBoundOnly);
  // T = 5, k = 1 1 1 1 1 1 2 3: Q1 = 6, Q2 = 1, U = 11, coverage 1 - (6/11) * (24 / 26) =
  // 71/143 = 0.4965, by hand: just under the threshold.
  const auto under = estimateRichness({1, 1, 1, 1, 1, 1, 2, 3}, 5);
  EXPECT_NEAR(under->coverage, 71.0 / 143.0, kTolerance);
  EXPECT_LT(under->coverage, kLeastCoverageToEstimate);
  EXPECT_TRUE(under->lowerBoundOnly);
  // T = 3, k = 1 1 1 1 1 1 1 2 2: Q1 = 7, Q2 = 2, U = 11, coverage 1 - (7/11) * (14 / 18) =
  // 50/99 = 0.5051, by hand: just over it, an estimate.
  const auto over = estimateRichness({1, 1, 1, 1, 1, 1, 1, 2, 2}, 3);
  EXPECT_NEAR(over->coverage, 50.0 / 99.0, kTolerance);
  EXPECT_GT(over->coverage, kLeastCoverageToEstimate);
  EXPECT_FALSE(over->lowerBoundOnly);
  // Nothing found by one run only (Q1 = 0, Q2 = 0, coverage 1): no sign of unseen schedules,
  // which is an estimate, not a bound.
  EXPECT_FALSE(estimateRichness({3, 4}, 4)->lowerBoundOnly);
}

TEST(RichnessEstimates, RunsWithoutSchedulesEstimateNone) {
  const auto estimates = estimateRichness({}, 3);
  ASSERT_TRUE(estimates);
  EXPECT_EQ(estimates->observed, 0u);
  EXPECT_EQ(estimates->chao2, 0.0);
  EXPECT_EQ(estimates->chao2Upper, 0.0);
  EXPECT_EQ(estimates->coverage, 1.0);
}

}  // namespace jobshop
