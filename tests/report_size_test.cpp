// The report page stays small whatever the folder holds: many runs with many optima each give a
// page of a few megabytes that names what it left out, and where the rest is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "results/optimum_distances.h"
#include "run/report_command.h"
#include "test_instances.h"

namespace jobshop {

namespace {

constexpr int kJobs = 8;
constexpr int kRuns = 150;
constexpr int kOptimaPerRun = 120;
constexpr std::size_t kPageLimit = 10'000'000;

// Eight jobs that visit machine 1 then machine 2 for one time unit: a schedule whose two machines
// take the jobs in the same order has makespan 9, the target, so every permutation gives one.
std::string flowShop() {
  std::string text = std::to_string(kJobs) + "\n2\n" + std::to_string(kJobs + 1) + "\n";
  for (int j = 0; j < kJobs; ++j) text += "1 1\n";
  for (int j = 0; j < kJobs; ++j) text += "1 2\n";
  return text;
}

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace

TEST(ReportSize, ManyRunsWithManyOptimaGiveASmallPageThatSaysWhatItLeftOut) {
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", flowShop());
  std::string progress, bests, counts, distances, solutions;
  std::vector<int> order(kJobs);
  std::iota(order.begin(), order.end(), 1);
  for (int run = 0; run < kRuns; ++run) {
    progress += "12.0 0\n9.0 4\n\n";
    bests += "9.0\n";
    counts += std::to_string(kOptimaPerRun) + "\n";
    // Each run starts a little further on in the permutations, so that runs share some optima.
    std::vector<RecordedSolution> recorded;
    for (int k = 0; k < kOptimaPerRun; ++k) {
      RecordedSolution solution;
      solution.sequences = order;
      solution.sequences.insert(solution.sequences.end(), order.begin(), order.end());
      for (int job : solution.sequences) solutions += std::to_string(job) + " ";
      solutions += std::to_string(kJobs + 1) + " \n";
      recorded.push_back(std::move(solution));
      std::next_permutation(order.begin(), order.end());
    }
    solutions += "\n";
    for (int back = 0; back < kOptimaPerRun / 2; ++back) {
      std::prev_permutation(order.begin(), order.end());
    }
    distances +=
        fixed(static_cast<double>(*averagePairDistance(distanceMatrix(recorded))), 2) + "\n";
  }
  writeFile(folder + "D_Sal_Mejores.txt", progress);
  writeFile(folder + "D_Sal_Optimos.txt", bests);
  writeFile(folder + "D_Sal_NumOptimos.txt", counts);
  writeFile(folder + "D_Sal_Distancias.txt", distances);
  writeFile(folder + "D_Sal_Soluciones.txt", solutions);

  std::ostringstream out, err;
  EXPECT_EQ(runReportCommand({"--dir", folder}, out, err), 0) << err.str();
  const std::string page = readFile(folder + "report.html");
  EXPECT_LT(page.size(), kPageLimit);
  // Every run is still in the runs table and has its place among the optima.
  EXPECT_NE(page.find("id=\"run-" + std::to_string(kRuns) + "\""), std::string::npos);
  // What was left out, and where it is: beyond the 3 drawn and 30 listed optima of a run, beyond
  // a 30 by 30 matrix, beyond 300 schedules over all runs, and the runs past the size budget.
  EXPECT_NE(page.find("87 more schedules are left out of this page to keep it small; "
                      "D_Sal_Soluciones.txt lines 1&#8211;120 hold all 120 of this run's "
                      "schedules."),
            std::string::npos);
  // The first runs' matrices hold all 120, clustered; once they fill their share of the page, the
  // later runs' matrices keep the first 30.
  EXPECT_NE(page.find("Distances between the 120 schedules (120 \u00d7 120), ordered by "
                      "average-linkage clustering"),
            std::string::npos);
  EXPECT_NE(page.find(", among the first 30 of the 120; the other 90 are left out of this page"),
            std::string::npos);
  EXPECT_NE(
      page.find("The first 300 of the 9,060 schedules are listed; the other 8,760 are left out"),
      std::string::npos);
  EXPECT_NE(page.find(" runs that reached the target are not shown, so that this page stays small; "
                      "D_Sal_Soluciones.txt holds them."),
            std::string::npos);
}

}  // namespace jobshop
