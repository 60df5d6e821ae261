// The map's points: every found schedule, the unfound listed ones beside them, and a fixed uniform
// sample when there are too many to draw.
#include "analysis/niche_map.h"

#include <gtest/gtest.h>

#include <set>

#include "analysis/optimum_union.h"
#include "analysis_of.h"
#include "report/niche_map_section.h"
#include "report_fixture.h"
#include "sanitized_build.h"
#include "schedule_sets.h"

namespace jobshop {

namespace {

// The index-th of many distinct rows of 4 jobs on 4 machines (a row per index below 4^16).
std::vector<int> numbered(int index) {
  std::vector<int> row(16);
  for (int c = 0; c < 16; ++c) row[static_cast<std::size_t>(c)] = 1 + (index >> (2 * c)) % 4;
  return row;
}

}  // namespace

TEST(NicheMap, PlacesFoundAndUnfoundListedSchedules) {
  const std::vector<int> a{1, 2, 3, 4}, b{1, 2, 4, 3}, c{2, 1, 3, 4}, d{4, 3, 2, 1};
  const NicheMap map = nicheMap(unionOf({a, b}), listOf({a, b, c, d}));
  ASSERT_EQ(map.found.size(), 2u);
  EXPECT_TRUE(map.found[0] && map.found[1]);
  EXPECT_EQ(map.unfoundListed, (std::vector<std::vector<int>>{c, d}));
  EXPECT_EQ(map.unfoundPoints.size(), 2u);
  EXPECT_EQ(map.unfoundTotal, 2u);
  EXPECT_FALSE(map.sampled);
  EXPECT_GT(map.axisShare, 0.0);

  const NicheMap unlisted = nicheMap(unionOf({a, b}), std::nullopt);
  EXPECT_TRUE(unlisted.unfoundListed.empty());
  EXPECT_EQ(unlisted.unfoundTotal, 0u);
  // Two points lie on one axis, as far apart as their schedules.
  EXPECT_NEAR(std::abs(unlisted.found[0]->x - unlisted.found[1]->x), 2.0, 1e-9);
  EXPECT_NEAR(unlisted.axisShare, 1.0, 1e-12);
}

TEST(NicheMap, KeepsEveryFoundScheduleAndSamplesTheUnfoundOnes) {
  SKIP_WHEN_SANITIZED();
  std::vector<std::vector<int>> found;
  for (int k = 0; k < 30; ++k) found.push_back(numbered(k));
  std::vector<std::vector<int>> listed(found.begin(), found.begin() + 20);
  for (int k = 0; k < 1500; ++k) listed.push_back(numbered(1000 + 37 * k));
  const OptimaCoverage coverage = listOf(listed);
  const NicheMap first = nicheMap(unionOf(found), coverage);
  EXPECT_TRUE(first.sampled);
  EXPECT_EQ(first.unfoundTotal, 1500u);
  ASSERT_EQ(first.found.size(), 30u);
  for (const std::optional<MapPoint>& point : first.found) EXPECT_TRUE(point);
  ASSERT_EQ(first.unfoundListed.size(), kMapPoints - 30);
  EXPECT_EQ(first.unfoundPoints.size(), kMapPoints - 30);
  const std::set<std::vector<int>> distinct(first.unfoundListed.begin(), first.unfoundListed.end());
  EXPECT_EQ(distinct.size(), first.unfoundListed.size());
  const std::set<std::vector<int>> foundSet(found.begin(), found.end());
  for (const std::vector<int>& schedule : first.unfoundListed) {
    EXPECT_TRUE(coverage.enumeration.schedules.contains(schedule));
    EXPECT_FALSE(foundSet.contains(schedule));
  }
  // The seed is fixed: the same folder shows the same sample.
  const NicheMap second = nicheMap(unionOf(found), coverage);
  EXPECT_EQ(first.unfoundListed, second.unfoundListed);
}

TEST(NicheMap, SamplesFoundSchedulesOnlyWhenTheyAloneAreTooMany) {
  SKIP_WHEN_SANITIZED();
  std::vector<std::vector<int>> found;
  for (int k = 0; k < 1005; ++k) found.push_back(numbered(3 * k));
  const NicheMap map = nicheMap(unionOf(found), listOf({numbered(1), numbered(4)}));
  EXPECT_TRUE(map.sampled);
  std::size_t shown = 0;
  for (const std::optional<MapPoint>& point : map.found) shown += point ? 1 : 0;
  EXPECT_EQ(shown, kMapPoints);
  EXPECT_TRUE(map.unfoundListed.empty());
  EXPECT_EQ(map.unfoundTotal, 2u);
}

TEST(NicheMap, SectionNeedsTwoPointsToPlace) {
  const std::vector<int> a{1, 2, 3, 4}, b{1, 2, 4, 3};
  // The section of one run that found schedules, against list when there is one.
  const auto section = [](const std::vector<std::vector<int>>& schedules,
                          std::optional<OptimaCoverage> list) {
    const std::vector<RunRecord> runs = {runHolding(schedules)};
    Instance instance;
    instance.targetMakespan = 10;
    return nicheMapSection(analysisOf(runs, instance, std::move(list)), runs);
  };
  EXPECT_EQ(section({a}, std::nullopt), "");
  EXPECT_EQ(section({}, listOf({a})), "");
  EXPECT_EQ(section({a}, listOf({a})), "");
  // One found schedule and one listed one no run found are two points.
  const std::string listed = section({a}, listOf({a, b}));
  EXPECT_NE(listed.find("<section id=\"niche-map\">"), std::string::npos);
  EXPECT_NE(listed.find("class=\"unfound\""), std::string::npos);
  const std::string unlisted = section({a, b}, std::nullopt);
  EXPECT_NE(unlisted.find("id=\"niche-map\""), std::string::npos);
  EXPECT_NE(unlisted.find("Two found schedules lie a median 2 cells apart (of 4)."),
            std::string::npos);
  // The listed pairs lie 2, 2 and 4 cells apart, the found pair 2: the same median, but at 2 cells
  // the cumulative shares are 1 against 2/3, a gap of 1/3 by hand.
  const std::vector<int> c{2, 1, 3, 4};
  const std::string twoOfThree = section({a, b}, listOf({a, b, c}));
  EXPECT_NE(twoOfThree.find("two listed ones 2 cells (of 4): the runs' schedules spread "
                            "differently from the listed ones as a whole (Kolmogorov-Smirnov "
                            "distance 0.33"),
            std::string::npos)
      << twoOfThree;
  // The one unfound schedule, c, lies 2 cells from a and 4 from b.
  EXPECT_NE(twoOfThree.find(" The one listed schedule no run found lies 2 cells from a found one."),
            std::string::npos)
      << twoOfThree;
  EXPECT_EQ(twoOfThree.find("half of them"), std::string::npos);
  // Every listed schedule found: the same pairs, no gap.
  const std::string all = section({a, b, c}, listOf({a, b, c}));
  EXPECT_NE(all.find("the runs' schedules spread much like the listed ones as a whole "
                     "(Kolmogorov-Smirnov distance 0.00"),
            std::string::npos)
      << all;
}

TEST(NicheMap, ThePageShowsTheMapOfTheRunsSchedules) {
  // Runs 2 to 4 of the fixture hold five distinct schedules between them.
  const std::string folder = folderWith(fixtureFiles());
  ASSERT_EQ(report({"--dir", folder}).status, 0);
  const std::string page = folder + "report.html";
  EXPECT_EQ(xpath(page, "count(//section[@id=\"niche-map\"])"), "1");
  EXPECT_EQ(xpath(page, "count(//nav//a[@href=\"#niche-map\"])"), "1");
  const std::string dots = "//section[@id=\"niche-map\"]//*[local-name()=\"circle\"]";
  EXPECT_EQ(xpath(page, "count(" + dots + "[@class=\"found\"])"), "5");
  EXPECT_EQ(xpath(page, "count(" + dots + "[@class=\"unfound\"])"), "0");
  EXPECT_EQ(
      xpath(page, "string(" + dots +
                      "[*[local-name()=\"title\"]=\"schedule 1, found by runs 2, 3, 4\"]/@class)"),
      "found");
  // Two histograms of pairs would need a list; only the found pairs are drawn.
  EXPECT_EQ(xpath(page, "count(//div[@class=\"distance-histograms\"]/div)"), "1");
}

}  // namespace jobshop
