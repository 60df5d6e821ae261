// Optima found by several runs, counted once in the union and shown once on the page.
#include <gtest/gtest.h>

#include "analysis/optimum_union.h"
#include "report_fixture.h"
#include "test_instances.h"

namespace jobshop {

TEST(ReportOptima, SchedulesFoundBySeveralRunsAreCountedOnce) {
  // Runs 2, 3 and 4 all record machine orders 1 2 3 | 1 2 3; run 3 and 4 share 1 3 2 | 1 3 2.
  const std::string folder = folderWith(fixtureFiles());
  const ResultRecords records =
      loadResultRecords(folder, makeInstance(3, 2, {1, 1, 1, 1, 1, 1}, {1, 2, 1, 2, 1, 2}, 4));
  const OptimumUnion optima = uniteOptima(records.runs);
  ASSERT_EQ(optima.schedules.size(), 5u);
  EXPECT_EQ(optima.schedules[0].runs, (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(optima.schedules[0].firstLine, 1);
  EXPECT_EQ(optima.schedules[1].runs, (std::vector<int>{3, 4}));
  EXPECT_EQ(optima.indexOf[3][3], 1u);  // run 4's fourth optimum is the shared 1 3 2
  EXPECT_TRUE(optima.indexOf[0].empty());

  ASSERT_EQ(report({"--dir", folder}).status, 0);
  const std::string page = folder + "report.html";
  EXPECT_EQ(xpath(page, "string(//*[@class=\"distinct-count\"])"), "5");
  EXPECT_EQ(xpath(page, "string(//*[@id=\"distinct-overall\"]/*[@class=\"value\"])"), "5");
  EXPECT_NE(xpath(page, "string(//*[@id=\"distinct-overall\"])").find("add up to 8"),
            std::string::npos);
  const std::string table = "//table[@class=\"shared-optima\"]/tbody/tr";
  EXPECT_EQ(xpath(page, "count(" + table + ")"), "5");
  EXPECT_EQ(xpath(page, "string(" + table + "[1]/td[@class=\"found-by\"])"), "found by 3 runs");
  EXPECT_EQ(xpath(page, "string(" + table + "[1]/td[@class=\"runs\"])"), "2, 3, 4");
  EXPECT_EQ(xpath(page, "string(" + table + "[2]/td[@class=\"found-by\"])"), "found by 2 runs");
  // Runs are folded, the first open, and the table of contents links to each.
  EXPECT_EQ(xpath(page, "count(//details[@class=\"run-optima\"])"), "3");
  EXPECT_EQ(xpath(page, "string(//details[@class=\"run-optima\"][1]/@open)"), "open");
  EXPECT_EQ(xpath(page, "count(//details[@class=\"run-optima\"][@open])"), "1");
  EXPECT_EQ(xpath(page, "count(//nav//a[@href=\"#run-4\"])"), "1");
  EXPECT_EQ(xpath(page, "count(//*[@id=\"run-4\"])"), "1");
}

}  // namespace jobshop
