// A run's distance matrix on the page: rows and columns in the clustering's order under the
// optima's own numbers, numbers in the cells while the matrix is small, tooltips and a fold past
// it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "report/distance_table.h"
#include "report_fixture.h"
#include "results/optimum_distances.h"
#include "run/report_command.h"
#include "schedule_sets.h"
#include "test_instances.h"

namespace jobshop {

namespace {

using Matrix = std::vector<std::vector<int>>;

}  // namespace

TEST(ReportDistanceMatrix, RowsAndColumnsFollowTheClusteringUnderTheirOwnNumbers) {
  // Optima 1, 3, 5 lie close together, and so do 2 and 4.
  const std::string table = distanceTable(onALine({0, 100, 1, 102, 3}), "five", "");
  const auto header = [&](int column) {
    return xpathOfText(table, "string(//table/tr[1]/th[" + std::to_string(column + 1) + "])");
  };
  const auto cell = [&](int row, int column) {
    return xpathOfText(table, "string(//table/tr[" + std::to_string(row + 1) + "]/td[" +
                                  std::to_string(column) + "])");
  };
  const std::vector<std::string> order = {"1", "3", "5", "2", "4"};
  for (int k = 1; k <= 5; ++k) {
    EXPECT_EQ(header(k), order[k - 1]) << "column " << k;
    EXPECT_EQ(xpathOfText(table, "string(//table/tr[" + std::to_string(k + 1) + "]/th)"),
              order[k - 1])
        << "row " << k;
  }
  // Cells follow their labels: row "3" (position 1) against column "2" (position 100), and
  // row "5" (3) against column "4" (102).
  EXPECT_EQ(cell(2, 4), "99");
  EXPECT_EQ(cell(3, 5), "99");
  EXPECT_EQ(cell(4, 5), "2");
  EXPECT_EQ(cell(1, 1), "\u00b7");
  // The far pairs are darkest, the near ones lightest.
  EXPECT_EQ(xpathOfText(table, "string(//table/tr[4]/td[5]/@class)"), "h6");
  EXPECT_EQ(xpathOfText(table, "string(//table/tr[2]/td[2]/@class)"), "h0");
}

TEST(ReportDistanceMatrix, NumbersUpToThirtyThenTooltipsInAFold) {
  std::vector<int> positions(30);
  std::iota(positions.begin(), positions.end(), 0);
  const std::string small = distanceTable(onALine(positions), "thirty", "");
  EXPECT_EQ(xpathOfText(small, "count(//details[@open])"), "1");
  EXPECT_EQ(xpathOfText(small, "string(//table/@class)"), "matrix");
  EXPECT_EQ(xpathOfText(small, "count(//td[normalize-space(.) != \"\"])"), "900");
  EXPECT_EQ(xpathOfText(small, "count(//td[@title])"), "0");

  positions.push_back(30);
  const std::string large = distanceTable(onALine(positions), "thirty-one", "<p>note</p>");
  EXPECT_EQ(xpathOfText(large, "count(//details[@open])"), "0");
  EXPECT_EQ(xpathOfText(large, "string(//summary)"), "thirty-one");
  EXPECT_EQ(xpathOfText(large, "string(//table/@class)"), "matrix dense");
  EXPECT_EQ(xpathOfText(large, "count(//td[normalize-space(.) != \"\"])"), "0");
  EXPECT_EQ(xpathOfText(large, "count(//td[@title])"), "961");
  // Every label is still there, and a cell's tooltip is the distance of its row and column.
  EXPECT_EQ(xpathOfText(large, "count(//table/tr[1]/th)"), "32");
  EXPECT_EQ(xpathOfText(large, "count(//table/tr/th[1])"), "32");
  const std::string row = xpathOfText(large, "string(//table/tr[th[1]=\"31\"]/th[1])");
  EXPECT_EQ(row, "31");
  const std::string columnOf1 = xpathOfText(
      large, "count(//table/tr[1]/th[.=\"1\"]/preceding-sibling::th)");  // td index of column "1"
  EXPECT_EQ(xpathOfText(large, "string(//table/tr[th[1]=\"31\"]/td[" + columnOf1 + "]/@title)"),
            "30");
}

TEST(ReportDistanceMatrix, LegendStepsSayWhichDistancesTheyShade) {
  // With top 12 distance d takes step round(d / 2): 0 alone, then two or three a step, 11 and 12.
  const std::string table = distanceTable(onALine({0, 12}), "two", "");
  const auto step = [&](int k) {
    return xpathOfText(
        table, "string(//div[@class=\"scale-legend\"]/span[" + std::to_string(k + 2) + "]/@title)");
  };
  EXPECT_EQ(step(0), "distance 0");
  EXPECT_EQ(step(1), "distances 1 to 2");
  EXPECT_EQ(step(2), "distances 3 to 4");
  EXPECT_EQ(step(6), "distances 11 to 12");
  EXPECT_EQ(xpathOfText(table, "string(//div[@class=\"scale-legend\"]/span[last()])"), "12");
}

// A run with more optima than the matrix holds: the first 150 are clustered, the rest named.
TEST(ReportDistanceMatrix, ARunPastTheMatrixSizeSaysWhatItLeftOut) {
  constexpr int kJobs = 6;
  constexpr int kOptima = 160;
  std::string instance = std::to_string(kJobs) + "\n2\n" + std::to_string(kJobs + 1) + "\n";
  for (int j = 0; j < kJobs; ++j) instance += "1 1\n";
  for (int j = 0; j < kJobs; ++j) instance += "1 2\n";
  std::vector<int> order(kJobs);
  std::iota(order.begin(), order.end(), 1);
  std::string solutions;
  std::vector<RecordedSolution> recorded;
  for (int k = 0; k < kOptima; ++k) {
    RecordedSolution solution;
    solution.sequences = order;
    solution.sequences.insert(solution.sequences.end(), order.begin(), order.end());
    for (int job : solution.sequences) solutions += std::to_string(job) + " ";
    solutions += std::to_string(kJobs + 1) + " \n";
    recorded.push_back(std::move(solution));
    std::next_permutation(order.begin(), order.end());
  }
  char average[32];
  std::snprintf(average, sizeof average, "%.2f\n",
                static_cast<double>(*averagePairDistance(distanceMatrix(recorded))));
  const std::string folder = folderWith({{"D_Entrada.txt", instance},
                                         {"D_Sal_Mejores.txt", "9.0 0\n7.0 3\n\n"},
                                         {"D_Sal_Optimos.txt", "7.0\n"},
                                         {"D_Sal_NumOptimos.txt", std::to_string(kOptima) + "\n"},
                                         {"D_Sal_Distancias.txt", average},
                                         {"D_Sal_Soluciones.txt", solutions + "\n"}});
  std::ostringstream out, err;
  ASSERT_EQ(runReportCommand({"--dir", folder}, out, err), 0) << err.str();
  const std::string page = readFile(folder + "report.html");
  EXPECT_NE(page.find("<summary>Distances between the first 150 of the 160 schedules (150 \u00d7 "
                      "150), ordered by average-linkage clustering</summary>"),
            std::string::npos);
  EXPECT_NE(page.find(", among the first 150 of the 160; the other 10 are left out of this page"),
            std::string::npos);
  EXPECT_NE(page.find("each cell gives its distance when pointed at"), std::string::npos);
  EXPECT_EQ(occurrences(page, "<td class=\"h"), 150u * 150u);
}

}  // namespace jobshop
