// The charts of the page: the makespan histogram, the convergence plot and the Gantt chart.
#include <gtest/gtest.h>

#include "report/convergence_plot.h"
#include "report/gantt_chart.h"
#include "report/makespan_histogram.h"
#include "report_fixture.h"
#include "test_instances.h"

namespace jobshop {

TEST(ReportCharts, HistogramBinsWideRangesAndPlotsSkipRunsWithoutProgress) {
  std::vector<RunRecord> runs;
  for (int k = 0; k < 30; ++k) {
    RunRecord run;
    run.run = k + 1;
    run.best = 1000.0 + 37.0 * k;  // 1000 .. 2073
    run.reachedTarget = run.best <= 1200.0;
    if (k % 2 == 0) run.progress = {{run.best + 50.0, 0}, {run.best, 10 * k + 1}};
    runs.push_back(run);
  }
  const std::string histogram = makespanHistogram(runs, 1200);
  const std::size_t bins = occurrences(histogram, "class=\"bin\"");
  EXPECT_GT(bins, 5u);
  EXPECT_LE(bins, 40u);
  EXPECT_NE(histogram.find("class=\"bar reached\""), std::string::npos);
  EXPECT_NE(histogram.find("class=\"bar missed\""), std::string::npos);
  EXPECT_EQ(occurrences(convergencePlot(runs, 1200), "class=\"series\""), 15u);
  EXPECT_EQ(occurrences(convergencePlot({}, 1200), "class=\"series\""), 0u);

  // A bar gets its job number only where the number fits.
  SemiActiveSchedule schedule;
  schedule.makespan = 1000;
  schedule.operations = {{1, 1, 1, 0, 999}, {2, 1, 1, 999, 1000}};
  const std::string gantt = ganttChart(schedule, makeInstance(2, 1, {999, 1}, {1, 1}));
  EXPECT_EQ(occurrences(gantt, "class=\"bar-label\""), 1u);
}

TEST(ReportCharts, HistogramTargetStandsOnItsValueAndOneValueIsNoWideBlock) {
  if (!haveXmllint()) GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
  const std::vector<RunRecord> runs = {runEndingAt(1, 928.0, 930), runEndingAt(2, 930.0, 930),
                                       runEndingAt(3, 930.0, 930), runEndingAt(4, 941.0, 930)};
  const std::string histogram = makespanHistogram(runs, 930);
  const double targetX = std::stod(xpathOfText(histogram, "string(//line[@class=\"target\"]/@x1)"));
  const std::string bar = "//g[@class=\"bin\"][title=\"930: 2 runs\"]/rect";
  const double barMiddle = std::stod(xpathOfText(histogram, "string(" + bar + "/@x)")) +
                           std::stod(xpathOfText(histogram, "string(" + bar + "/@width)")) / 2.0;
  EXPECT_NEAR(targetX, barMiddle, 0.11);
  const double tickX = std::stod(xpathOfText(histogram, "string(//text[.=\"930\"]/@x)"));
  EXPECT_NEAR(targetX, tickX, 0.11);
  // The line is beneath the bars, so that it never hides them.
  EXPECT_LT(histogram.find("class=\"target\""), histogram.find("class=\"bin\""));

  // Ten runs at one makespan: one narrow bar, with empty values either side.
  std::vector<RunRecord> same;
  for (int k = 1; k <= 10; ++k) same.push_back(runEndingAt(k, 55.0, 55));
  const std::string single = makespanHistogram(same, 55);
  EXPECT_EQ(xpathOfText(single, "count(//g[@class=\"bin\"])"), "1");
  const double width =
      std::stod(xpathOfText(single, "string(//rect[@class=\"bar reached\"]/@width)"));
  EXPECT_LT(width, 972.0 / 8.0);
  EXPECT_GT(std::stoi(xpathOfText(single, "count(//text[@class=\"tick\"])")), 8);

  // A target at the right end of the axis puts its label to the left of the line.
  const std::string atRight = makespanHistogram({runEndingAt(1, 40.0, 60)}, 60);
  EXPECT_EQ(xpathOfText(atRight, "string(//text[@class=\"target-label\"]/@text-anchor)"), "end");
  EXPECT_EQ(xpathOfText(histogram, "string(//text[@class=\"target-label\"]/@text-anchor)"),
            "start");
}

TEST(ReportCharts, ConvergenceLinesEndWhereTheRunsEnded) {
  if (!haveXmllint()) GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
  std::vector<RunRecord> runs;
  for (int k = 1; k <= 5; ++k) {
    RunRecord run = runEndingAt(k, 930.0, 930);
    run.logged = LoggedRun{};
    run.logged->generations = k == 5 ? 20000 : 100;
    runs.push_back(run);
  }
  const std::string plot = convergencePlot(runs, 930);
  EXPECT_EQ(xpathOfText(plot, "string(//svg/@class)"), "convergence log");
  const double left = 64.0, right = 1060.0 - 92.0;
  // On a linear axis the 100-generation runs would end at 0.5% of the width.
  const double shortEnd =
      std::stod(xpathOfText(plot, "string((//line[@class=\"series-end\"])[1]/@x1)"));
  EXPECT_GT((shortEnd - left) / (right - left), 0.3);
  const double longEnd =
      std::stod(xpathOfText(plot, "string((//line[@class=\"series-end\"])[last()]/@x1)"));
  EXPECT_NEAR(longEnd, right, 0.11);
  EXPECT_EQ(xpathOfText(plot, "count(//circle[@class=\"reached-mark\"])"), "5");
  EXPECT_LT(plot.find("class=\"target\""), plot.find("class=\"series\""));
  const double labelX = std::stod(xpathOfText(plot, "string(//text[@class=\"target-label\"]/@x)"));
  EXPECT_GT(labelX, longEnd + 6.0);  // clear of the end markers

  // Without a record a run ends at its last improvement, and equal runs keep a linear axis.
  for (RunRecord& run : runs) run.logged.reset();
  const std::string plain = convergencePlot(runs, 930);
  EXPECT_EQ(xpathOfText(plain, "string(//svg/@class)"), "convergence");
  EXPECT_NEAR(std::stod(xpathOfText(plain, "string((//line[@class=\"series-end\"])[1]/@x1)")),
              right, 0.11);
}

TEST(ReportCharts, GanttNumbersEveryBarBeyondTwentyJobs) {
  // 24 short operations and one long one on one machine: at page width the short ones are too
  // narrow for their numbers, so the chart widens.
  std::vector<int> times(25, 10);
  times[24] = 1000;
  SemiActiveSchedule schedule;
  int clock = 0;
  for (int job = 1; job <= 25; ++job) {
    schedule.operations.push_back({job, 1, 1, clock, clock + times[job - 1]});
    clock += times[job - 1];
  }
  schedule.makespan = clock;
  const std::string gantt =
      ganttChart(schedule, makeInstance(25, 1, times, std::vector<int>(25, 1)));
  EXPECT_EQ(occurrences(gantt, "class=\"bar-label"), 25u);
  EXPECT_NE(gantt.find("class=\"gantt wide\""), std::string::npos);
  EXPECT_NE(gantt.find(">time"), std::string::npos);
}

}  // namespace jobshop
