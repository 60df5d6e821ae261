// The figures over all runs at the top of the page.
#include <gtest/gtest.h>

#include "analysis/run_summary.h"

namespace jobshop {

TEST(ReportSummary, MedianBestOfOddAndEvenRunCounts) {
  auto runsWithBests = [](const std::vector<double>& bests) {
    std::vector<RunRecord> runs;
    for (const double best : bests) {
      RunRecord run;
      run.run = static_cast<int>(runs.size()) + 1;
      run.best = best;
      runs.push_back(run);
    }
    return runs;
  };
  // Unordered on purpose: the median is of the sorted bests, not of the file order.
  EXPECT_EQ(summariseRuns(runsWithBests({9, 1, 5}), 0).medianBest, 5.0);
  EXPECT_EQ(summariseRuns(runsWithBests({7, 4, 6, 5}), 0).medianBest, 5.5)
      << "the mean of the two middle bests";
  EXPECT_EQ(summariseRuns(runsWithBests({3, 8}), 0).medianBest, 5.5);
  EXPECT_EQ(summariseRuns(runsWithBests({42}), 0).medianBest, 42.0);
  EXPECT_EQ(summariseRuns(runsWithBests({60, 55, 58, 55, 70, 57}), 0).medianBest, 57.5);
  EXPECT_EQ(summariseRuns(runsWithBests({7, 4, 6, 5}), 0).bestMakespan, 4.0);
  EXPECT_FALSE(summariseRuns({}, 0).medianBest);
}

}  // namespace jobshop
