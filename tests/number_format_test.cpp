// The spellings of numbers that the pages share.
#include "support/number_format.h"

#include <gtest/gtest.h>

namespace jobshop {
namespace {

TEST(SmallShareNumber, KeepsTwoSignificantDigitsWhereTheFixedOnesWouldShowNothing) {
  // la02's 66,989 optimal schedules: a run holding 5 of them has recall 5 / 66,989 = 0.0000746...,
  // which three decimals would show as 0.000.
  EXPECT_EQ(smallShareNumber(5.0 / 66989.0, 3), "0.000075");
  EXPECT_EQ(smallShareNumber(0.0001, 3), "0.00010");
  EXPECT_EQ(smallShareNumber(0.0005, 3), "0.00050");  // "%.3f" would round it to a misleading 0.001
  // From 10^-decimals up, and for zero, the fixed spelling.
  EXPECT_EQ(smallShareNumber(0.001, 3), "0.001");
  EXPECT_EQ(smallShareNumber(0.1875, 3), "0.188");
  EXPECT_EQ(smallShareNumber(0.0, 3), "0.000");
  EXPECT_EQ(smallShareNumber(0.03, 1), "0.030");
  EXPECT_EQ(smallShareNumber(-0.00002, 3), "-0.000020");
}

}  // namespace
}  // namespace jobshop
