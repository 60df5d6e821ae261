// Splitting the five result files into runs: the fixture's four runs, and two executions of the
// program aligned run by run.
#include <gtest/gtest.h>

#include <sstream>

#include "report_fixture.h"
#include "test_instances.h"

namespace jobshop {

TEST(ReportRecords, SplitsTheFilesIntoRuns) {
  const std::string folder = folderWith(fixtureFiles());
  const ResultRecords records =
      loadResultRecords(folder, makeInstance(3, 2, {1, 1, 1, 1, 1, 1}, {1, 2, 1, 2, 1, 2}, 4));
  EXPECT_TRUE(records.problems.empty()) << records.problems.front();
  ASSERT_EQ(records.runs.size(), 4u);
  const RunRecord& above = records.runs[0];
  EXPECT_FALSE(above.reachedTarget);
  EXPECT_FALSE(above.distinctOptima);
  EXPECT_TRUE(above.solutions.empty());
  ASSERT_EQ(above.progress.size(), 2u);
  EXPECT_EQ(above.progress[1].generation, 3);
  EXPECT_EQ(records.runs[1].distinctOptima, 1);
  EXPECT_FALSE(records.runs[1].averageDistance);
  const RunRecord& three = records.runs[2];
  EXPECT_EQ(three.distinctOptima, 3);
  EXPECT_DOUBLE_EQ(three.averageDistance.value_or(0.0), 4.67);
  ASSERT_EQ(three.solutions.size(), 3u);
  EXPECT_EQ(three.solutions[1].line, 4);
  EXPECT_EQ(three.solutions[1].sequences, (std::vector<int>{1, 3, 2, 1, 3, 2}));
  EXPECT_EQ(three.solutions[1].makespan, 4);
  EXPECT_EQ(records.runs[3].solutions.size(), 4u);
  EXPECT_EQ(records.runs[3].progress.back().makespan, 4.0);
}

TEST(ReportProgram, TwoExecutionsOfTheProgramAlignRunByRun) {
  // Two random individuals per run and no generation: some runs stay above the target, others
  // end with one or two distinct optima.
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", kFlowShop);
  const int values[19] = {2, 2, 8, 80, 20, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 3, 1, 2};
  std::string parameters;
  for (int value : values) parameters += "label\n" + std::to_string(value) + "\n";
  writeFile(folder + "D_Algoritmo.txt", parameters);
  const std::string run = "cd '" + folder + "' && " + JOBSHOP_PROGRAM + " --seed 7 > /dev/null";
  ASSERT_EQ(std::system(run.c_str()), 0);
  ASSERT_EQ(std::system(run.c_str()), 0);

  const Captured outcome = report({"--dir", folder, "--csv", folder + "runs.csv"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  std::istringstream csv(readFile(folder + "runs.csv"));
  std::istringstream bests(readFile(folder + "D_Sal_Optimos.txt"));
  std::string row, best;
  std::getline(csv, row);
  // What the result files say of each run: run, best, reached, distinct optima, average distance,
  // improvements, last improving generation.
  std::vector<std::vector<std::string>> rows;
  int above = 0, single = 0, several = 0;
  std::size_t drawn = 0;
  while (std::getline(csv, row)) {
    std::istringstream cells(row);
    std::vector<std::string>& fields = rows.emplace_back();
    for (std::string cell; fields.size() < 7 && std::getline(cells, cell, ',');) {
      fields.push_back(cell);
    }
    ASSERT_EQ(fields.size(), 7u) << row;
    ASSERT_TRUE(std::getline(bests, best));
    EXPECT_EQ(fields[0], std::to_string(rows.size()));
    EXPECT_EQ(fields[1], best);
    if (fields[2] != "true") {
      ++above;
      continue;
    }
    const int count = std::stoi(fields[3]);
    (count == 1 ? single : several) += 1;
    drawn += static_cast<std::size_t>(std::min(count, 3));
  }
  ASSERT_EQ(rows.size(), 16u);
  // The same seed twice: the second execution's runs repeat the first's.
  for (std::size_t k = 0; k < 8; ++k) {
    EXPECT_EQ(std::vector(rows[k].begin() + 1, rows[k].end()),
              std::vector(rows[k + 8].begin() + 1, rows[k + 8].end()));
  }
  EXPECT_GT(above, 0);
  EXPECT_GT(single, 0);
  EXPECT_GT(several, 0);
  EXPECT_EQ(occurrences(readFile(folder + "report.html"), "class=\"gantt\""), drawn);
}

}  // namespace jobshop
