// How a run's optima are told apart on the page: the machine-order cells whose job differs from the
// run's first optimum are marked in its machine orders and outlined in its Gantt charts.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "analysis/machine_orders.h"
#include "analysis/semi_active_schedule.h"
#include "report/gantt_chart.h"
#include "report_fixture.h"
#include "run/report_command.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// Job 1 holds machine 1 for 10, the two others pass machine 2 then machine 1 meanwhile: makespan
// 12 whether machine 1 takes 2 or 3 first after job 1, and whether machine 2 takes 2 or 3 first.
const char* const kSlackShop = "3\n2\n12\n10 1\n1 1\n1 1\n1 2\n2 1\n2 1\n";

// Four schedules of makespan 12; the second differs from the first in machine 1's last two cells,
// the third in machine 2's first two, the fourth in all four.
const std::vector<std::vector<int>> kOptima = {
    {1, 2, 3, 2, 3, 1}, {1, 3, 2, 2, 3, 1}, {1, 2, 3, 3, 2, 1}, {1, 3, 2, 3, 2, 1}};

std::string solutionLines() {
  std::string text;
  for (const std::vector<int>& sequences : kOptima) {
    for (int job : sequences) text += std::to_string(job) + " ";
    text += "12 \n";
  }
  return text + "\n";
}

Instance slackShop() { return makeInstance(3, 2, {10, 1, 1, 1, 1, 1}, {1, 2, 2, 1, 2, 1}, 12); }

}  // namespace

TEST(ReportDifferences, CellsThatDifferFromTheReference) {
  EXPECT_EQ(differingCells(kOptima[1], kOptima[0]),
            (std::vector<bool>{false, true, true, false, false, false}));
  EXPECT_EQ(differingCells(kOptima[0], kOptima[0]), std::vector<bool>(6, false));
  // Cells past the end of a shorter reference differ.
  EXPECT_EQ(differingCells({1, 2, 3}, {1, 2}), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(machineOrders(kOptima[1], 3, differingCells(kOptima[1], kOptima[0])),
            "<span class=\"order\"><b>M1</b> 1 <mark>3</mark> <mark>2</mark></span> "
            "<span class=\"order\"><b>M2</b> 2 3 1</span>");
  EXPECT_EQ(
      machineOrders(kOptima[1], 3),
      "<span class=\"order\"><b>M1</b> 1 3 2</span> <span class=\"order\"><b>M2</b> 2 3 1</span>");
}

TEST(ReportDifferences, GanttOutlinesTheBarsOfTheDifferingCells) {
  const Instance instance = slackShop();
  const SemiActiveSchedule schedule = rebuildSchedule(instance, kOptima[1]);
  ASSERT_EQ(schedule.problem, "");
  ASSERT_EQ(schedule.makespan, 12);
  const std::vector<bool> outlined =
      operationsInCells(schedule, kOptima[1], differingCells(kOptima[1], kOptima[0]), 3);
  const std::string chart = ganttChart(schedule, instance, outlined);
  EXPECT_EQ(xpathOfText(chart, "count(//rect[@class=\"operation differs\"])"), "2");
  EXPECT_EQ(xpathOfText(chart, "count(//rect[@class=\"operation\"])"), "4");
  // The two bars on machine 1 that follow job 1: jobs 3 and 2, each at its second operation.
  EXPECT_EQ(xpathOfText(chart, "normalize-space(//g[rect[@class=\"operation differs\"]][1]/title)"),
            "job 2, operation 2, machine 1: 11 to 12");
  EXPECT_EQ(xpathOfText(chart, "normalize-space(//g[rect[@class=\"operation differs\"]][2]/title)"),
            "job 3, operation 2, machine 1: 10 to 11");
  EXPECT_EQ(ganttChart(schedule, instance).find("differs"), std::string::npos);
}

TEST(ReportDifferences, ARunsOptimaAreMarkedAgainstItsFirst) {
  const std::string folder = folderWith({{"D_Entrada.txt", kSlackShop},
                                         {"D_Sal_Mejores.txt", "14.0 0\n12.0 3\n\n"},
                                         {"D_Sal_Optimos.txt", "12.0\n"},
                                         {"D_Sal_NumOptimos.txt", "4\n"},
                                         {"D_Sal_Distancias.txt", "2.67\n"},
                                         {"D_Sal_Soluciones.txt", solutionLines()}});
  std::ostringstream out, err;
  ASSERT_EQ(runReportCommand({"--dir", folder}, out, err), 0) << err.str() << out.str();
  const std::string page = folder + "report.html";
  EXPECT_EQ(xpath(page, "normalize-space(//p[@class=\"note differences\"])"),
            "Cells that differ from schedule 1 are outlined: the bars and machine-order entries "
            "whose place in their machine's order holds another job in schedule 1.");
  // Drawn: the first, then the farthest pair (the first and the fourth), then the second.
  const auto outlinedIn = [&](int figure) {
    return xpath(page, "count(//section[@id=\"optima\"]//figure[" + std::to_string(figure) +
                           "]//rect[@class=\"operation differs\"])");
  };
  EXPECT_EQ(outlinedIn(1), "0");
  EXPECT_EQ(outlinedIn(2), "2");
  EXPECT_EQ(outlinedIn(3), "4");
  EXPECT_EQ(xpath(page, "normalize-space(//section[@id=\"optima\"]//figure[2]/figcaption)"),
            "Schedule 2 (D_Sal_Soluciones.txt line 2, found by this run only); 2 cells differ "
            "from schedule 1");
  // The third is listed as machine orders, its machine 2's first two jobs marked.
  EXPECT_EQ(xpath(page, "count(//ul[@class=\"rest\"]//mark)"), "2");
  EXPECT_EQ(xpath(page, "string(//ul[@class=\"rest\"]/li/span[@class=\"order\"][2])"), "M2 3 2 1");
  EXPECT_EQ(xpath(page, "count(//ul[@class=\"rest\"]/li/span[@class=\"order\"][2]/mark)"), "2");
}

}  // namespace jobshop
