// The tests that compare two settings, against worked examples and values computed independently.
// The independent values come from python3's standard library, exact where it can be:
//   Fisher: sum of comb(s,k)*comb(N-s,r-k)/comb(N,r) over k with probability <= observed*(1+1e-7)
//   Mann-Whitney: mid-ranks, U = R1 - n1(n1+1)/2, var = n1 n2/12 ((n+1) - sum(t^3-t)/(n(n-1))),
//   z = (|U - n1 n2/2| - 0.5)/sqrt(var), p = 2*(1 - statistics.NormalDist().cdf(z))
// which is what R's fisher.test and wilcox.test(correct = TRUE, exact = FALSE) compute.
#include <gtest/gtest.h>

#include "analysis/fisher_exact.h"
#include "analysis/holm_adjustment.h"
#include "analysis/mann_whitney.h"

namespace jobshop {
namespace {

TEST(CampaignComparisonStatistics, FisherExactTwoSided) {
  // The lady tasting tea (Fisher 1935): 3 of 4 cups right each way; R's fisher.test: 0.4857.
  EXPECT_NEAR(fisherExactP({3, 1, 1, 3}), 0.4857142857142857, 1e-12);
  // The mirror table, exactly as likely as the observed one, counts too (python3: 0.20634920...);
  // leaving it out would give 0.103.
  EXPECT_NEAR(fisherExactP({1, 4, 4, 1}), 0.20634920634920634, 1e-12);
  // Here the mirror table (2 successes in row A) is exactly as likely as the observed one in exact
  // fractions (python3: P(2) == P(15)) but comes out an ulp more likely in floating point; it
  // belongs to the sum all the same (python3: 0.000241709779...).
  EXPECT_NEAR(fisherExactP({15, 11, 2, 24}), 0.00024170977936923316, 1e-15);
  // One-sided tables and a larger one (python3, exact fractions).
  EXPECT_NEAR(fisherExactP({10, 0, 3, 7}), 0.0030959752321981426, 1e-13);
  EXPECT_NEAR(fisherExactP({0, 5, 5, 0}), 0.007936507936507936, 1e-13);
  EXPECT_NEAR(fisherExactP({2, 8, 9, 1}), 0.005477494641581329, 1e-13);
  EXPECT_NEAR(fisherExactP({40, 60, 55, 45}), 0.04716548538301929, 1e-10);
  EXPECT_NEAR(fisherExactP({7, 3, 7, 3}), 1, 1e-12) << "equal rates";
  // Nothing to compare: every run succeeded, or none did, or a setting has no runs.
  EXPECT_EQ(fisherExactP({5, 0, 4, 0}), 1);
  EXPECT_EQ(fisherExactP({0, 5, 0, 4}), 1);
  EXPECT_EQ(fisherExactP({0, 0, 4, 1}), 1);
  EXPECT_EQ(fisherExactP({}), 1);
}

TEST(CampaignComparisonStatistics, MannWhitneyNormalApproximation) {
  // R's ?wilcox.test example (Hollander & Wolfe): W = 35; with exact = FALSE, two-sided, the
  // continuity-corrected normal approximation gives 0.2446 (python3 as above).
  const auto example = mannWhitney({0.80, 0.83, 1.89, 1.04, 1.45, 1.38, 1.91, 1.64, 0.73, 1.46},
                                   {1.15, 0.88, 0.90, 0.74, 1.21});
  ASSERT_TRUE(example);
  EXPECT_DOUBLE_EQ(example->u, 35);
  EXPECT_NEAR(example->p, 0.24462360512698345, 1e-9);
  EXPECT_DOUBLE_EQ(example->probabilityOfSuperiority, 0.7);

  // Ties across and within the samples: mid-ranks and the tie-corrected variance (python3).
  const auto tied = mannWhitney({1, 2, 2, 3, 3, 3, 4}, {2, 3, 4, 4, 5, 5});
  ASSERT_TRUE(tied);
  EXPECT_DOUBLE_EQ(tied->u, 8.5);
  EXPECT_NEAR(tied->p, 0.07826242947714634, 1e-9);
  EXPECT_NEAR(tied->probabilityOfSuperiority, 8.5 / 42, 1e-15);
  // The same test seen from the other sample: U' = n1 n2 - U, the same p.
  const auto swapped = mannWhitney({2, 3, 4, 4, 5, 5}, {1, 2, 2, 3, 3, 3, 4});
  ASSERT_TRUE(swapped);
  EXPECT_DOUBLE_EQ(swapped->u, 42 - 8.5);
  EXPECT_NEAR(swapped->p, tied->p, 1e-12);

  // U exactly at its mean: no correction, p = 1.
  const auto balanced = mannWhitney({1, 4}, {2, 3});
  ASSERT_TRUE(balanced);
  EXPECT_DOUBLE_EQ(balanced->u, 2);
  EXPECT_DOUBLE_EQ(balanced->p, 1);

  // Every value the same: the variance is 0 and nothing is known.
  const auto same = mannWhitney({3, 3, 3}, {3, 3});
  ASSERT_TRUE(same);
  EXPECT_DOUBLE_EQ(same->p, 1);
  EXPECT_DOUBLE_EQ(same->probabilityOfSuperiority, 0.5);

  EXPECT_FALSE(mannWhitney({}, {1, 2})) << "a setting without successful runs";
  EXPECT_FALSE(mannWhitney({1}, {}));
}

TEST(CampaignComparisonStatistics, HolmStepDown) {
  // R: p.adjust(c(0.01, 0.04, 0.03, 0.005), "holm") = 0.03 0.06 0.06 0.02 (by hand: 0.005 x 4,
  // 0.01 x 3, 0.03 x 2 = 0.06, 0.04 x 1 = 0.04 raised to 0.06 to stay monotone).
  const auto adjusted = holmAdjusted({0.01, 0.04, 0.03, 0.005});
  ASSERT_EQ(adjusted.size(), 4u);
  EXPECT_NEAR(*adjusted[0], 0.03, 1e-15);
  EXPECT_NEAR(*adjusted[1], 0.06, 1e-15);
  EXPECT_NEAR(*adjusted[2], 0.06, 1e-15);
  EXPECT_NEAR(*adjusted[3], 0.02, 1e-15);
  // Capped at 1 (0.6 x 2) and kept monotone (0.7 x 1 raised to 1); a missing test is no member
  // of the family (m = 3 here, not 4).
  const auto capped = holmAdjusted({0.6, std::nullopt, 0.02, 0.7});
  EXPECT_DOUBLE_EQ(*capped[0], 1);
  EXPECT_FALSE(capped[1]);
  EXPECT_DOUBLE_EQ(*capped[2], 0.06);
  EXPECT_DOUBLE_EQ(*capped[3], 1);
  EXPECT_TRUE(holmAdjusted({}).empty());
  EXPECT_DOUBLE_EQ(*holmAdjusted({0.3})[0], 0.3) << "one test: nothing to adjust";
}

}  // namespace
}  // namespace jobshop
