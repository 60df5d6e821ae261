// The measures of a run's trace against the exact count, on traces counted by hand.
#include "analysis/niching_measures.h"

#include <gtest/gtest.h>

namespace jobshop {

namespace {

GenerationTrace row(int generation, std::int64_t evaluations, int distinct, int held, int found) {
  GenerationTrace trace;
  trace.generation = generation;
  trace.evaluations = evaluations;
  trace.distinct = distinct;
  trace.held = held;
  trace.found = found;
  return trace;
}

// Initial population of 10 evaluations, then two generations.
const RunTrace kThreeRows = {row(0, 10, 8, 1, 1), row(1, 20, 6, 2, 3), row(2, 40, 5, 3, 4)};

}  // namespace

TEST(NichingMeasures, FinalRowAgainstTheExactCount) {
  const std::optional<NichingMeasures> m = nichingMeasures(kThreeRows, 6.0);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->held, 3);
  EXPECT_EQ(m->found, 4);
  EXPECT_EQ(m->distinct, 5);
  EXPECT_DOUBLE_EQ(*m->recall, 0.5);             // 3/6, by hand
  EXPECT_DOUBLE_EQ(*m->precision, 0.6);          // 3/5, by hand
  EXPECT_DOUBLE_EQ(*m->f1, 6.0 / 11.0);          // 2*0.6*0.5/(0.6+0.5) = 0.6/1.1, by hand
  EXPECT_DOUBLE_EQ(*m->foundRecall, 2.0 / 3.0);  // 4/6, by hand
  EXPECT_DOUBLE_EQ(*m->retention, 0.75);         // 3/4, by hand
  // Row 0: P = 1/8, R = 1/6, F1 = 2(1/48)/(7/24) = 1/7; row 1: P = R = 2/6, F1 = 1/3.
  // (1/7)(20-10)/40 + (1/3)(40-20)/40 = 1/28 + 1/6 = 17/84; the first 10 count 0. By hand.
  EXPECT_DOUBLE_EQ(*m->dynamicF1, 17.0 / 84.0);
}

TEST(NichingMeasures, WithoutTheExactCountOnlyWhatNeedsNoK) {
  const std::optional<NichingMeasures> m = nichingMeasures(kThreeRows, std::nullopt);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->held, 3);
  EXPECT_EQ(m->found, 4);
  EXPECT_DOUBLE_EQ(*m->precision, 0.6);   // 3/5, by hand
  EXPECT_DOUBLE_EQ(*m->retention, 0.75);  // 3/4, by hand
  EXPECT_FALSE(m->recall);
  EXPECT_FALSE(m->f1);
  EXPECT_FALSE(m->foundRecall);
  EXPECT_FALSE(m->dynamicF1);
}

TEST(NichingMeasures, NothingWithoutATrace) {
  EXPECT_FALSE(nichingMeasures({}, 6.0));
  EXPECT_FALSE(nichingMeasures({}, std::nullopt));
}

TEST(NichingMeasures, NoneFoundLeavesRetentionAbsentAndF1Zero) {
  const RunTrace none = {row(0, 10, 4, 0, 0), row(1, 20, 4, 0, 0)};
  const std::optional<NichingMeasures> m = nichingMeasures(none, 5.0);
  ASSERT_TRUE(m);
  EXPECT_FALSE(m->retention);              // 0/0
  EXPECT_DOUBLE_EQ(*m->precision, 0.0);    // 0/4
  EXPECT_DOUBLE_EQ(*m->recall, 0.0);       // 0/5
  EXPECT_DOUBLE_EQ(*m->f1, 0.0);           // P + R = 0
  EXPECT_DOUBLE_EQ(*m->foundRecall, 0.0);  // 0/5
  EXPECT_DOUBLE_EQ(*m->dynamicF1, 0.0);    // every row's F1 is 0
}

TEST(NichingMeasures, ACutRunIsMeasuredOnTheRowsItRecorded) {
  // Stopped after one generation of five evaluations: E is 15, not the budget.
  const RunTrace cut = {row(0, 10, 4, 2, 2), row(1, 15, 4, 2, 3)};
  const std::optional<NichingMeasures> m = nichingMeasures(cut, 4.0);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->found, 3);
  EXPECT_DOUBLE_EQ(*m->retention, 2.0 / 3.0);  // 2/3, by hand
  // Row 0: P = 2/4, R = 2/4, F1 = 1/2; (1/2)(15-10)/15 = 1/6, by hand.
  EXPECT_DOUBLE_EQ(*m->dynamicF1, 1.0 / 6.0);
}

TEST(NichingMeasures, ARunOfTheInitialPopulationAloneScoresNoDynamicF1) {
  const std::optional<NichingMeasures> m = nichingMeasures({row(0, 10, 4, 4, 4)}, 4.0);
  ASSERT_TRUE(m);
  EXPECT_DOUBLE_EQ(*m->f1, 1.0);         // P = R = 1
  EXPECT_DOUBLE_EQ(*m->dynamicF1, 0.0);  // its only evaluations made the initial population
}

TEST(NichingMeasures, RowsWhoseEvaluationsFallGiveNoDynamicF1) {
  const std::optional<NichingMeasures> m =
      nichingMeasures({row(0, 10, 4, 2, 2), row(1, 30, 4, 2, 2), row(2, 20, 4, 2, 2)}, 4.0);
  ASSERT_TRUE(m);
  EXPECT_FALSE(m->dynamicF1);
  EXPECT_DOUBLE_EQ(*m->f1, 0.5);  // P = R = 2/4: the last row still stands
}

TEST(NichingMeasures, KOnlyFromACompleteCountAtTheTarget) {
  EXPECT_EQ(exactCountFor(true, 55, 55, 12.0), 12.0);
  EXPECT_FALSE(exactCountFor(false, 55, 55, 12.0));  // a lower bound only
  EXPECT_FALSE(exactCountFor(true, 54, 55, 12.0));   // counts fewer schedules than held does
  EXPECT_FALSE(exactCountFor(true, 56, 55, 12.0));   // counts more
  EXPECT_FALSE(exactCountFor(true, 55, 55, 0.0));    // the target is below the optimum
}

TEST(NichingMeasures, AveragesOverTheTracedRunsAndCountsTheOthers) {
  const std::vector<std::optional<NichingMeasures>> runs = {
      nichingMeasures(kThreeRows, 6.0),                                 // held 3, retention 3/4
      std::nullopt,                                                     // made before the trace
      nichingMeasures({row(0, 10, 4, 0, 0)}, 6.0),                      // held 0, no retention
      nichingMeasures({row(0, 10, 2, 1, 2), row(1, 20, 2, 1, 2)}, 6.0)  // held 1, retention 1/2
  };
  const NichingAggregates a = aggregateMeasures(runs);
  EXPECT_EQ(a.traced, 3);
  EXPECT_EQ(a.untraced, 1);
  EXPECT_DOUBLE_EQ(*a.held.mean, 4.0 / 3.0);     // (3+0+1)/3, by hand
  EXPECT_DOUBLE_EQ(*a.held.median, 1.0);         // middle of 0, 1, 3
  EXPECT_DOUBLE_EQ(*a.retention.mean, 0.625);    // (3/4+1/2)/2 over the two with a found one
  EXPECT_DOUBLE_EQ(*a.retention.median, 0.625);  // the mean of the two middle values
  EXPECT_DOUBLE_EQ(*a.distinct.median, 4.0);     // middle of 2, 4, 5
}

TEST(NichingMeasures, AveragesOfNoTracedRunAreAbsent) {
  const NichingAggregates a = aggregateMeasures({std::nullopt, std::nullopt});
  EXPECT_EQ(a.traced, 0);
  EXPECT_EQ(a.untraced, 2);
  EXPECT_FALSE(a.held.mean);
  EXPECT_FALSE(a.f1.median);
}

}  // namespace jobshop
