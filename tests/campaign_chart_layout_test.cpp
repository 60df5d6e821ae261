// How the campaign page's charts lie with long setting names and estimates in the millions: every
// label inside its drawing and apart from the others, and each chart drawn at its own size, so that
// its text keeps the style sheet's size instead of shrinking or growing with the window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/campaign_charts.h"
#include "svg_layout.h"

namespace jobshop {

namespace {

SettingSummary setting(const std::string& name, double distinctOptima) {
  SettingSummary s;
  s.setting = name;
  s.runs = 10;
  s.runsReachingTarget = 9;
  s.targetRate = 0.9;
  s.successInterval = {0.6, 0.98};
  s.bestMakespans = Spread{.lowest = 1644,
                           .lowerQuartile = 1644,
                           .median = 1650,
                           .upperQuartile = 1660,
                           .highest = 1702};
  s.bestMakespanPerRun = {1644, 1644, 1650, 1660, 1702};
  s.distinctOptimaPerRun = Spread{.lowest = 100,
                                  .lowerQuartile = 180,
                                  .median = 240,
                                  .upperQuartile = 300,
                                  .highest = distinctOptima};
  s.optimaPerSuccessfulRun = {100, 240, distinctOptima};
  s.distinctSchedules = 1234567;
  s.richness = RichnessEstimates{.chao2 = 12345678, .chao2Lower = 11111111, .chao2Upper = 22222222};
  return s;
}

// The drawing's size, from its width attribute and its viewBox.
void expectDrawnAtItsOwnSize(XmlDocument& chart) {
  const Box drawing = viewBox(chart);
  EXPECT_EQ(chart.number("(//svg)[1]/@width"), drawing.right - drawing.left);
  EXPECT_EQ(chart.number("(//svg)[1]/@height"), drawing.bottom - drawing.top);
}

void expectLabelsInsideAndApart(const std::string& svg) {
  XmlDocument chart = xmlOfFragment(svg);
  ASSERT_TRUE(chart.wellFormed()) << chart.errors();
  expectDrawnAtItsOwnSize(chart);
  jobshop::expectLabelsInsideAndApart(chart);
}

}  // namespace

TEST(CampaignChartLayout, LongNamesAndLargeEstimatesStayInsideTheirChartsAndApart) {
  const SettingSummary shortName = setting("N50", 320);
  const SettingSummary longName = setting("populationSize=200 crowdingGroupSize=10", 410);
  SettingSummary noneReached = setting("N100", 1);
  noneReached.distinctOptimaPerRun.reset();
  noneReached.richness.reset();
  const std::vector<const SettingSummary*> settings{&shortName, &longName, &noneReached};
  {
    SCOPED_TRACE("success chart");
    expectLabelsInsideAndApart(successChart(settings));
  }
  {
    SCOPED_TRACE("best makespans");
    expectLabelsInsideAndApart(boxPlots(settings, 1644));
  }
  {
    SCOPED_TRACE("best makespans, the target right of every run");
    expectLabelsInsideAndApart(boxPlots(settings, 1710));
  }
  {
    SCOPED_TRACE("distinct optima");
    const std::string chart = optimaBoxPlots(settings);
    expectLabelsInsideAndApart(chart);
    EXPECT_NE(chart.find(unionAndEstimate(longName) + "</text>"), std::string::npos)
        << "the note whole";
  }
}

}  // namespace jobshop
