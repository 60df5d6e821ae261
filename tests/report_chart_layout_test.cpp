// How the pieces of the report's charts lie: every label inside its drawing and apart from the
// others, the marks inside the plot area, a bar's job number inside its bar. Relations, so that a
// chart may change its sizes without these tests changing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/convergence_plot.h"
#include "report/evaluations_chart.h"
#include "report/gantt_chart.h"
#include "report/makespan_histogram.h"
#include "report_fixture.h"
#include "svg_layout.h"
#include "test_instances.h"

namespace jobshop {

namespace {

void expectLabelsInsideAndApart(const std::string& svg) {
  XmlDocument chart = xmlOfFragment(svg);
  ASSERT_TRUE(chart.wellFormed()) << chart.errors();
  jobshop::expectLabelsInsideAndApart(chart);
}

// Forty runs over hundreds of makespans, half of them with their progress, a quarter recorded.
std::vector<RunRecord> spreadRuns() {
  std::vector<RunRecord> runs;
  for (int k = 0; k < 40; ++k) {
    RunRecord run = runEndingAt(k + 1, 1644.0 + 11.0 * k, 1644);
    if (k % 2 == 1) run.progress.clear();
    if (k % 4 == 0) {
      run.logged = LoggedRun{};
      run.logged->generations = 100 * (k + 1);
      run.logged->evaluations = 1000 * (k + 1);
      if (run.reachedTarget) run.logged->targetEvaluations = 500;
    }
    runs.push_back(run);
  }
  return runs;
}

}  // namespace

TEST(ReportChartLayout, EveryLabelIsInsideItsDrawingAndApartFromTheOthers) {
  const std::vector<RunRecord> runs = spreadRuns();
  {
    SCOPED_TRACE("makespan histogram");
    expectLabelsInsideAndApart(makespanHistogram(runs, 1644));
    expectLabelsInsideAndApart(makespanHistogram({runEndingAt(1, 40.0, 60)}, 60));
  }
  {
    SCOPED_TRACE("convergence plot");
    expectLabelsInsideAndApart(convergencePlot(runs, 1644));
  }
  {
    SCOPED_TRACE("evaluations chart");
    expectLabelsInsideAndApart(evaluationsChart(runs));
  }
}

// Pairs of runs that end at the target a generation apart: their counts and the target's label
// would all stand at one height.
TEST(ReportChartLayout, CountsOfRunsEndingCloseTogetherStandApart) {
  std::vector<RunRecord> runs;
  for (int k = 1; k <= 8; ++k) {
    RunRecord run = runEndingAt(k, 55.0, 55);
    run.logged = LoggedRun{};
    run.logged->generations = 960 + (k - 1) / 2;
    runs.push_back(run);
  }
  const std::string plot = convergencePlot(runs, 55);
  EXPECT_EQ(occurrences(plot, "class=\"end-count\""), 4u) << plot;
  expectLabelsInsideAndApart(plot);
}

// The axis starts at the target when every run is at or above it (below lie makespans no run
// has), and the target's line stops short of the count above the bar it stands in.
TEST(ReportChartLayout, TheMakespanAxisStartsAtTheTargetAndItsLineClearsTheCount) {
  std::vector<RunRecord> runs;
  for (int k = 1; k <= 3; ++k) runs.push_back(runEndingAt(k, 55.0, 55));
  runs.push_back(runEndingAt(4, 58.0, 55));
  XmlDocument chart = xmlOfFragment(makespanHistogram(runs, 55));
  ASSERT_TRUE(chart.wellFormed()) << chart.errors();
  const Box area = plotArea(chart);
  const int ticks =
      chart.count("//*[@class=\"tick\"][@y > " + std::to_string(area.bottom + 10.0) + "]");
  ASSERT_GT(ticks, 0);
  for (int k = 1; k <= ticks; ++k) {
    EXPECT_GE(chart.number("(//*[@class=\"tick\"][@y > " + std::to_string(area.bottom + 10.0) +
                           "])[" + std::to_string(k) + "]"),
              55.0);
  }
  const Box count = textBox(chart, "//*[@class=\"bar-count\"][. = \"3\"]");
  const double lineTop = chart.number("//line[@class=\"target\"]/@y1");
  const double lineBottom = chart.number("//line[@class=\"target\"]/@y2");
  EXPECT_TRUE(lineBottom < count.top || lineTop > count.bottom)
      << "line " << lineTop << " to " << lineBottom << " crosses " << describe(count);
}

TEST(ReportChartLayout, RunEndsStandInsideThePlotArea) {
  std::vector<RunRecord> runs;
  for (int k = 1; k <= 5; ++k) {
    RunRecord run = runEndingAt(k, 930.0, 930);
    run.logged = LoggedRun{};
    run.logged->generations = k == 5 ? 20000 : 100;
    runs.push_back(run);
  }
  XmlDocument plot = xmlOfFragment(convergencePlot(runs, 930));
  ASSERT_TRUE(plot.wellFormed()) << plot.errors();
  const Box area = plotArea(plot);
  ASSERT_TRUE(inside(area, viewBox(plot))) << describe(area);
  const int ends = plot.count("//line[@class=\"series-end\"]");
  ASSERT_GT(ends, 0);
  for (int k = 1; k <= ends; ++k) {
    const std::string end = "(//line[@class=\"series-end\"])[" + std::to_string(k) + "]";
    const Box tick{plot.number(end + "/@x1"), plot.number(end + "/@y1"), plot.number(end + "/@x2"),
                   plot.number(end + "/@y2")};
    EXPECT_TRUE(tick.left >= area.left && tick.left <= area.right) << describe(tick);
  }
  const double target = plot.number("//line[@class=\"target over\"]/@y1");
  EXPECT_TRUE(target >= area.top && target <= area.bottom) << target << " " << describe(area);
}

// A four-digit target's label is wider than the margin shorter ones fit in: drawn in bold 13 px,
// "target 3,104" took 91.4 px in Chromium and left a 92 px margin. The margin now holds it at the
// pages' widest average advance (0.64 em a character).
TEST(ReportChartLayout, ALongTargetLabelStaysInsideTheChart) {
  std::vector<RunRecord> runs;
  for (int k = 1; k <= 3; ++k) runs.push_back(runEndingAt(k, 3200.0 + k, 3104));
  XmlDocument plot = xmlOfFragment(convergencePlot(runs, 3104));
  ASSERT_TRUE(plot.wellFormed()) << plot.errors();
  const double left = plot.number("//text[@class=\"target-label\"]/@x");
  EXPECT_EQ(plot.value("string(//text[@class=\"target-label\"])"), "target 3,104");
  EXPECT_LE(left + 12 * 0.64 * 13.0, viewBox(plot).right + 0.05) << "x is written to 0.05";
}

TEST(ReportChartLayout, AJobNumberStandsInsideItsBar) {
  SemiActiveSchedule schedule;
  schedule.makespan = 1000;
  schedule.operations = {{1, 1, 1, 0, 999}, {2, 1, 1, 999, 1000}};
  XmlDocument gantt = xmlOfFragment(ganttChart(schedule, makeInstance(2, 1, {999, 1}, {1, 1})));
  ASSERT_TRUE(gantt.wellFormed()) << gantt.errors();
  const int bars = gantt.count("//g[rect][text]");
  ASSERT_GT(bars, 0);
  for (int k = 1; k <= bars; ++k) {
    const std::string bar = "(//g[rect][text])[" + std::to_string(k) + "]";
    const double left = gantt.number(bar + "/rect/@x");
    const Box rect{left, gantt.number(bar + "/rect/@y"), left + gantt.number(bar + "/rect/@width"),
                   gantt.number(bar + "/rect/@y") + gantt.number(bar + "/rect/@height")};
    const Box label = textBox(gantt, bar + "/text");
    EXPECT_TRUE(inside(label, rect)) << describe(label) << " leaves " << describe(rect);
  }
}

}  // namespace jobshop
