// The report of a run too large to compare every pair of its schedules: the figures that sample
// say so on the page and in the JSON, and are the same at every report of the folder; the
// checks of a run's block (its average distance, its repeated lines) are made without its matrix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "results/optimum_distances.h"
#include "results/repeated_solutions.h"
#include "run/report_command.h"
#include "sanitized_build.h"
#include "test_instances.h"

namespace jobshop {

namespace {

constexpr int kJobs = 8;
constexpr int kSchedules = 3000;

// Eight jobs that visit machine 1 then machine 2 for one time unit: a schedule whose two machines
// take the jobs in the same order has makespan 9, the target, so every permutation gives one.
std::string flowShop() {
  std::string text = std::to_string(kJobs) + "\n2\n" + std::to_string(kJobs + 1) + "\n";
  for (int j = 0; j < kJobs; ++j) text += "1 1\n";
  for (int j = 0; j < kJobs; ++j) text += "1 2\n";
  return text;
}

std::string fixed(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

RecordedSolution solutionOf(std::vector<int> sequences) {
  RecordedSolution solution;
  solution.sequences = std::move(sequences);
  return solution;
}

// One run holding kSchedules distinct schedules: the first permutations in order.
std::string largeRunFolder() {
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", flowShop());
  std::vector<int> order(kJobs);
  std::iota(order.begin(), order.end(), 1);
  std::vector<RecordedSolution> recorded;
  std::string solutions;
  for (int k = 0; k < kSchedules; ++k) {
    std::vector<int> sequences = order;
    sequences.insert(sequences.end(), order.begin(), order.end());
    for (int job : sequences) solutions += std::to_string(job) + " ";
    solutions += std::to_string(kJobs + 1) + " \n";
    recorded.push_back(solutionOf(std::move(sequences)));
    std::next_permutation(order.begin(), order.end());
  }
  writeFile(folder + "D_Sal_Mejores.txt", "12.0 0\n9.0 4\n\n");
  writeFile(folder + "D_Sal_Optimos.txt", "9.0\n");
  writeFile(folder + "D_Sal_NumOptimos.txt", std::to_string(kSchedules) + "\n");
  // From the whole matrix, as the main run computes it: the report's check, made without the
  // matrix, must agree or it would name a problem.
  writeFile(folder + "D_Sal_Distancias.txt",
            fixed(static_cast<double>(*averagePairDistance(distanceMatrix(recorded)))) + "\n");
  writeFile(folder + "D_Sal_Soluciones.txt", solutions + "\n");
  return folder;
}

struct Written {
  std::string page, json;
};

Written reportOf(const std::string& folder, const std::string& name) {
  std::ostringstream out, err;
  EXPECT_EQ(runReportCommand({"--dir", folder, "--output", folder + name + ".html", "--json",
                              folder + name + ".json"},
                             out, err),
            0)
      << err.str();
  EXPECT_EQ(err.str(), "");
  return {readFile(folder + name + ".html"), readFile(folder + name + ".json")};
}

}  // namespace

TEST(ReportScale, ALargeRunIsSampledTheSameWayAtEveryReportAndSaysSo) {
  SKIP_WHEN_SANITIZED();
  const std::string folder = largeRunFolder();
  const Written first = reportOf(folder, "first");
  const Written second = reportOf(folder, "second");
  EXPECT_TRUE(first.page == second.page) << "the page differs between two reports of one folder";
  EXPECT_EQ(first.json, second.json);

  EXPECT_NE(first.page.find("one of the two farthest apart in a sample of 2,000 of the 3,000 "
                            "drawable (distance "),
            std::string::npos);
  EXPECT_NE(first.page.find("a uniform sample of that many pairs is counted"), std::string::npos);
  const nlohmann::json json = nlohmann::json::parse(first.json);
  const nlohmann::json& found = json["distanceHistograms"]["found"];
  EXPECT_EQ(found["sampled"], true) << found.dump();
  EXPECT_EQ(found["total"], 100000) << "kCountedPairs of the 3000 * 2999 / 2 pairs";
}

TEST(ReportScale, TheAverageDistanceWithoutTheMatrixIsTheMatrixAverage) {
  // 1 2 3 / 1 3 2 / 1 2: 2 cells differ between the first two, 1 (the missing cell) between the
  // first and the third, 2 between the second and the third: 2 * 5 / (3 * 2) = 5/3, by hand.
  const std::vector<RecordedSolution> uneven = {solutionOf({1, 2, 3}), solutionOf({1, 3, 2}),
                                                solutionOf({1, 2})};
  EXPECT_EQ(fixed(static_cast<double>(*averagePairDistance(uneven))), "1.67");
  EXPECT_EQ(averagePairDistance(uneven), averagePairDistance(distanceMatrix(uneven)));
  // Two equal rows and a third that differs everywhere: (0 + 2 + 2) * 2 / 6 = 4/3, by hand.
  const std::vector<RecordedSolution> repeated = {solutionOf({1, 2}), solutionOf({1, 2}),
                                                  solutionOf({2, 1})};
  EXPECT_EQ(fixed(static_cast<double>(*averagePairDistance(repeated))), "1.33");
  EXPECT_FALSE(averagePairDistance(std::vector<RecordedSolution>{solutionOf({1})}));
}

TEST(ReportScale, RepeatedLinesArePairedInOrderAndCountedPastTheLimit) {
  const std::vector<int> a = {1, 2};
  const std::vector<int> b = {2, 1};
  const std::vector<RecordedSolution> solutions = {solutionOf(a), solutionOf(b), solutionOf(a),
                                                   solutionOf(a), solutionOf(b), solutionOf({1})};
  using Pairs = std::vector<std::pair<std::size_t, std::size_t>>;
  // a at 0, 2, 3: three pairs; b at 1, 4: one; {1} is shorter than a, not equal to it.
  const RepeatedSolutions all = repeatedSolutions(solutions, 10);
  EXPECT_EQ(all.pairs, (Pairs{{0, 2}, {0, 3}, {1, 4}, {2, 3}}));
  EXPECT_EQ(all.total, 4u);
  const RepeatedSolutions limited = repeatedSolutions(solutions, 2);
  EXPECT_EQ(limited.pairs, (Pairs{{0, 2}, {0, 3}}));
  EXPECT_EQ(limited.total, 4u);
}

// An instance past what a chart or a list of machine orders can show (120 x 50: 6000 operations,
// built directly; the main run accepts up to 4096 x 4096): the page names it instead of drawing.
TEST(ReportScale, AnInstanceTooLargeToDrawIsReportedWithoutChartsOrOrders) {
  constexpr int kWideJobs = 120;
  constexpr int kMachines = 50;
  const std::string folder = makeTempFolder();
  std::string instance = std::to_string(kWideJobs) + "\n" + std::to_string(kMachines) + "\n" +
                         std::to_string(kWideJobs + kMachines) + "\n";
  std::string times, route, row;
  for (int m = 1; m <= kMachines; ++m) {
    times += m > 1 ? " 1" : "1";
    if (m > 1) route += ' ';
    route += std::to_string(m);
  }
  for (int j = 1; j <= kWideJobs; ++j) row += std::to_string(j) + " ";
  for (int j = 0; j < kWideJobs; ++j) instance += times + "\n";
  for (int j = 0; j < kWideJobs; ++j) instance += route + "\n";
  writeFile(folder + "D_Entrada.txt", instance);
  // Every machine takes the jobs in one order: a flow shop of unit times ends at J + M - 1.
  std::string solution;
  for (int m = 0; m < kMachines; ++m) solution += row;
  const std::string makespan = std::to_string(kWideJobs + kMachines - 1);
  writeFile(folder + "D_Sal_Mejores.txt", makespan + ".0 0\n\n");
  writeFile(folder + "D_Sal_Optimos.txt", makespan + ".0\n");
  writeFile(folder + "D_Sal_NumOptimos.txt", "1\n");
  writeFile(folder + "D_Sal_Distancias.txt", "");
  writeFile(folder + "D_Sal_Soluciones.txt", solution + makespan + " \n\n");
  const Written written = reportOf(folder, "page");
  EXPECT_NE(
      written.page.find("This instance has 6,000 operations, more than a chart shows (5,000), "
                        "so no schedule of it is drawn."),
      std::string::npos);
  EXPECT_EQ(written.page.find("<svg class=\"gantt"), std::string::npos);
  EXPECT_NE(written.page.find("6000 cells, too many to list here"), std::string::npos);
}

}  // namespace jobshop
