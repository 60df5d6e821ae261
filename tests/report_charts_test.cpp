// The charts of the page: the makespan histogram, the convergence plot and the Gantt chart.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <set>

#include "report/chart_support.h"
#include "report/convergence_plot.h"
#include "report/convergence_range.h"
#include "report/evaluations_chart.h"
#include "report/gantt_chart.h"
#include "report/makespan_histogram.h"
#include "report/markup.h"
#include "report_fixture.h"
#include "svg_layout.h"
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
  EXPECT_EQ(occurrences(gantt, "class=\"bar-label"), 1u);
}

TEST(ReportCharts, HistogramTargetStandsOnItsValueAndOneValueIsNoWideBlock) {
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
  XmlDocument singleChart = xmlOfFragment(single);
  const Box singleArea = plotArea(singleChart);
  EXPECT_LT(singleChart.number("//rect[@class=\"bar reached\"]/@width"),
            (singleArea.right - singleArea.left) / 8.0);
  EXPECT_GT(std::stoi(xpathOfText(single, "count(//text[@class=\"tick\"])")), 8);

  // A target at the right end of the axis puts its label to the left of the line.
  const std::string atRight = makespanHistogram({runEndingAt(1, 40.0, 60)}, 60);
  EXPECT_EQ(xpathOfText(atRight, "string(//text[@class=\"target-label\"]/@text-anchor)"), "end");
  EXPECT_EQ(xpathOfText(histogram, "string(//text[@class=\"target-label\"]/@text-anchor)"),
            "start");
}

TEST(ReportCharts, ConvergenceLinesEndWhereTheRunsEnded) {
  std::vector<RunRecord> runs;
  for (int k = 1; k <= 5; ++k) {
    RunRecord run = runEndingAt(k, 930.0, 930);
    run.logged = LoggedRun{};
    run.logged->generations = k == 5 ? 20000 : 100;
    runs.push_back(run);
  }
  const std::string plot = convergencePlot(runs, 930);
  EXPECT_EQ(xpathOfText(plot, "string(//svg/@class)"), "convergence log");
  XmlDocument plotChart = xmlOfFragment(plot);
  const double left = plotArea(plotChart).left, right = plotArea(plotChart).right;
  // On a linear axis the 100-generation runs would end at 0.5% of the width.
  const double shortEnd =
      std::stod(xpathOfText(plot, "string((//line[@class=\"series-end\"])[1]/@x1)"));
  EXPECT_GT((shortEnd - left) / (right - left), 0.3);
  const double longEnd =
      std::stod(xpathOfText(plot, "string((//line[@class=\"series-end\"])[last()]/@x1)"));
  EXPECT_NEAR(longEnd, right, 0.11);
  EXPECT_EQ(xpathOfText(plot, "count(//circle[@class=\"reached-mark\"])"), "5");
  // The four runs that ended together share one tick, with their count beside it.
  EXPECT_EQ(xpathOfText(plot, "count(//line[@class=\"series-end\"])"), "2");
  EXPECT_EQ(xpathOfText(plot, "string(//text[@class=\"end-count\"])"), "4 runs");
  // The target line is drawn over the runs' lines, and has its own tick on the axis.
  EXPECT_GT(plot.find("class=\"target over\""), plot.rfind("class=\"series\""));
  EXPECT_EQ(xpathOfText(plot, "string(//text[@class=\"tick strong\"])"), "930");
  const double labelX = std::stod(xpathOfText(plot, "string(//text[@class=\"target-label\"]/@x)"));
  EXPECT_GT(labelX, longEnd + 6.0);  // clear of the end markers

  // Without a record a run stops at its last improvement with an open ring, not an end tick, and
  // equal runs keep a linear axis.
  for (RunRecord& run : runs) run.logged.reset();
  const std::string plain = convergencePlot(runs, 930);
  EXPECT_EQ(xpathOfText(plain, "string(//svg/@class)"), "convergence");
  EXPECT_EQ(xpathOfText(plain, "count(//line[@class=\"series-end\"])"), "0");
  EXPECT_EQ(xpathOfText(plain, "count(//circle[@class=\"unknown-end\"])"), "1");
  EXPECT_NEAR(std::stod(xpathOfText(plain, "string(//circle[@class=\"unknown-end\"]/@cx)")), right,
              0.11);
  EXPECT_EQ(xpathOfText(plain, "string(//circle[@class=\"unknown-end\"]/../title)"),
            "runs 1, 2, 3, 4, 5: best 930, last improved at generation 5, ended at an unknown "
            "generation");
  const std::string note = convergenceNote(runs, 930);
  EXPECT_NE(note.find("ended at an unknown generation"), std::string::npos) << note;
  EXPECT_EQ(note.find("short upright tick"), std::string::npos) << note;
}

// Ten runs starting at 1010, 1020, ..., 1090 and one far worse start: the 90 % quantile of the
// starts is the 9th, 1090, so the range is the target 950 less 6 % of (1090 - 950) = 8.4, to 1090
// plus the same; the far start is cut, and the axis shows the break.
TEST(ReportCharts, ConvergenceRangeKeepsTheRegionNearTheTarget) {
  std::vector<RunRecord> runs;
  for (int k = 1; k <= 10; ++k) {
    RunRecord run;
    run.run = k;
    run.best = 960.0;
    run.progress = {{k == 10 ? 5000.0 : 1000.0 + 10.0 * k, 0}, {960.0, 50}};
    runs.push_back(run);
  }
  ConvergenceRange range = convergenceRange(runs, 950.0);
  EXPECT_DOUBLE_EQ(range.low, 941.6);
  EXPECT_DOUBLE_EQ(range.high, 1098.4);
  EXPECT_TRUE(range.cut);
  const std::string plot = convergencePlot(runs, 950);
  EXPECT_EQ(xpathOfText(plot, "count(//line[@class=\"axis-break\"])"), "2");
  // The cut line runs along the top edge of the plot area rather than off the chart.
  XmlDocument plotChart = xmlOfFragment(plot);
  const Box area = plotArea(plotChart);
  EXPECT_NE(plot.find("d=\"M" + coordinate(area.left) + " " + coordinate(area.top) + " H"),
            std::string::npos);
  EXPECT_NE(convergenceNote(runs, 950).find("Makespans above 1098 are cut off"), std::string::npos);

  // A run that stays high keeps its end in view, however few runs start there: 1470 + 6 % of
  // (1470 - 950).
  runs[9].progress.back().makespan = 1470.0;
  EXPECT_DOUBLE_EQ(convergenceRange(runs, 950.0).high, 1470.0 + 0.06 * 520.0);

  // Four runs: the quantile is the highest start, 1040, and nothing is cut.
  runs.resize(4);
  range = convergenceRange(runs, 950.0);
  EXPECT_DOUBLE_EQ(range.low, 950.0 - 0.06 * 90.0);
  EXPECT_DOUBLE_EQ(range.high, 1040.0 + 0.06 * 90.0);
  EXPECT_FALSE(range.cut);
  EXPECT_EQ(xpathOfText(convergencePlot(runs, 950), "count(//line[@class=\"axis-break\"])"), "0");
  EXPECT_EQ(convergenceNote(runs, 950).find("cut off"), std::string::npos);
}

// At 20x20 sizes the best makespans spread over hundreds of values: 40 runs at 1644, 1655, ...,
// 2073 are binned by 50 (the 1-2-5 step giving at most 20 bins over 430 values), from 1600 to
// 2099, and the axis ticks at round makespans, 100 apart in a chart that fits an 800 px window:
// 1,700, 1,800, ..., 2,000, never ranges. The axis is linear, so the ticks are equally apart; it
// starts at the target 1644 (no run lies below it), which stands 56 / 100 of the way before the
// tick 1,700 towards 1,600, and the bins of 50 start there too.
TEST(ReportCharts, HistogramAxisTicksAtRoundMakespans) {
  std::vector<RunRecord> runs;
  for (int k = 0; k < 40; ++k) runs.push_back(runEndingAt(k + 1, 1644.0 + 11.0 * k, 1644));
  const std::string histogram = makespanHistogram(runs, 1644);
  std::string labels;
  const int ticks = std::stoi(xpathOfText(histogram, "count(//text[@class=\"tick\"])"));
  for (int t = 1; t <= ticks; ++t) {
    labels +=
        xpathOfText(histogram, "string((//text[@class=\"tick\"])[" + std::to_string(t) + "])");
    labels += ' ';
  }
  // The y axis counts runs first (0 to 5 by 1), then the makespans.
  EXPECT_EQ(labels, "0 1 2 3 4 5 1,700 1,800 1,900 2,000 ") << histogram;
  XmlDocument chart = xmlOfFragment(histogram);
  const double tick1700 = chart.number("//text[.=\"1,700\"]/@x");
  const double tick1800 = chart.number("//text[.=\"1,800\"]/@x");
  const double tick2000 = chart.number("//text[.=\"2,000\"]/@x");
  EXPECT_NEAR(tick2000 - tick1700, 3.0 * (tick1800 - tick1700), 0.11);
  EXPECT_NEAR(chart.number("//line[@class=\"target\"]/@x1"),
              tick1700 - 56.0 / 100.0 * (tick1800 - tick1700), 0.1)
      << "each coordinate is written to 0.05: 0.05 + 0.56 * 0.05 + 0.44 * 0.05 = 0.1";
  // Runs at 1644, 1655, 1666, 1677 and 1688 share the first bin; nine bins reach 2073.
  EXPECT_EQ(xpathOfText(histogram, "count(//g[@class=\"bin\"])"), "9");
  EXPECT_EQ(xpathOfText(histogram, "string(//g[@class=\"bin\"][1]/title)"),
            "1,644 to 1,693: 5 runs");
}

// Three recorded runs spending 500, 500 and 1000 evaluations, two of which reached the target
// after 100 and 300: the count steps to 1 at 100 and to 2 at 300. The plot area spans 0 to 1000
// evaluations from left to right and 0 to 3 runs from bottom to top.
TEST(ReportCharts, RunsAtTheTargetAgainstEvaluationsOnlyFromTheRecord) {
  std::vector<RunRecord> runs;
  for (int k = 1; k <= 4; ++k) runs.push_back(runEndingAt(k, 930.0, 930));
  EXPECT_EQ(evaluationsChart(runs), "");  // no record, nothing to draw
  const std::int64_t spent[] = {500, 500, 1000};
  const std::optional<std::int64_t> atTarget[] = {300, 100, std::nullopt};
  for (int k = 0; k < 3; ++k) {
    runs[static_cast<std::size_t>(k)].logged = LoggedRun{};
    runs[static_cast<std::size_t>(k)].logged->evaluations = spent[k];
    runs[static_cast<std::size_t>(k)].logged->targetEvaluations = atTarget[k];
  }
  const std::string chart = evaluationsChart(runs);
  // Recorded, but none at the target: a flat line would say nothing the runs table does not.
  std::vector<RunRecord> none = runs;
  for (RunRecord& run : none) {
    if (run.logged) run.logged->targetEvaluations.reset();
  }
  EXPECT_EQ(evaluationsChart(none), "");
  XmlDocument drawn = xmlOfFragment(chart);
  const Box area = plotArea(drawn);
  const auto x = [&](double evaluations) {
    return coordinate(area.left + evaluations / 1000.0 * (area.right - area.left));
  };
  const auto y = [&](double count) {
    return coordinate(area.bottom - count / 3.0 * (area.bottom - area.top));
  };
  EXPECT_EQ(drawn.value("string(//path[@class=\"series reached-count\"]/@d)"),
            std::string("M") + x(0) + " " + y(0) + " H" + x(100) + " V" + y(1) + " H" + x(300) +
                " V" + y(2) + " H" + x(1000));
  EXPECT_EQ(xpathOfText(chart, "string(//text[@class=\"end-count\"])"), "2 of 3");
  EXPECT_NE(chart.find("How many of the 3 runs with evaluations recorded"), std::string::npos);
}

namespace {

// CIE 1976 L*a*b* of an sRGB "#rrggbb" under D65, as the colour science texts give it.
std::array<double, 3> cielab(const std::string& hex) {
  std::array<double, 3> linear{};
  for (int c = 0; c < 3; ++c) {
    const double value =
        static_cast<double>(std::strtol(hex.substr(1 + 2 * c, 2).c_str(), nullptr, 16)) / 255.0;
    linear[c] = value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
  }
  const double x = (0.4124 * linear[0] + 0.3576 * linear[1] + 0.1805 * linear[2]) / 0.95047;
  const double y = 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2];
  const double z = (0.0193 * linear[0] + 0.1192 * linear[1] + 0.9505 * linear[2]) / 1.08883;
  auto f = [](double t) {
    return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0;
  };
  return {116.0 * f(y) - 16.0, 500.0 * (f(x) - f(y)), 200.0 * (f(y) - f(z))};
}

double deltaE(const std::string& first, const std::string& second) {
  const std::array<double, 3> a = cielab(first), b = cielab(second);
  return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

}  // namespace

// Twenty jobs, twenty colours no two of which are within 36 of each other in CIELAB (CIE76): when
// the palette was picked its closest pair, #886688 and #004488, was 36.26 apart, and its colour
// nearest the idle lanes' grey 44.4 from it. Job 21 starts the colours again.
TEST(ReportCharts, TwentyJobColoursStayApart) {
  std::set<std::string> distinct;
  double closest = 1000.0;
  for (int a = 1; a <= kDistinctJobColours; ++a) {
    distinct.insert(jobColour(a));
    EXPECT_GT(deltaE(jobColour(a), "#f4f5f7"), 44.0) << "job " << a;
    for (int b = a + 1; b <= kDistinctJobColours; ++b) {
      closest = std::min(closest, deltaE(jobColour(a), jobColour(b)));
      EXPECT_GE(deltaE(jobColour(a), jobColour(b)), 36.0) << "jobs " << a << " and " << b;
    }
  }
  EXPECT_EQ(distinct.size(), 20u);
  EXPECT_NEAR(closest, 36.26, 0.01);
  EXPECT_EQ(jobColour(21), jobColour(1));
  // The conversion itself, against published values (four-digit matrices, hence the tolerance):
  // sRGB red is L 53.24, a 80.09, b 67.20.
  const std::array<double, 3> red = cielab("#ff0000");
  EXPECT_NEAR(red[0], 53.24, 0.05);
  EXPECT_NEAR(red[1], 80.09, 0.05);
  EXPECT_NEAR(red[2], 67.20, 0.05);
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
