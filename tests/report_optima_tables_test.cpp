// The tables of schedules on the page: the one over all runs and each run's distance matrix fold
// past twenty rows, the matrix is shaded on a sequential scale with its legend, and the words
// agree with the counts and with what optima.json proves.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "analysis_of.h"
#include "report/coverage_markup.h"
#include "report/distance_table.h"
#include "report/optima_sections.h"
#include "report/overall_optima.h"
#include "report_fixture.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// A run of count distinct schedules of the three-job flow shop, on lines 1, 2, ...: machine 1
// and machine 2 each take one of the six orders of the jobs.
RunRecord runOfSchedules(int run, int count) {
  std::vector<std::vector<int>> orders;
  std::vector<int> order = {1, 2, 3};
  do {
    orders.push_back(order);
  } while (std::next_permutation(order.begin(), order.end()));
  RunRecord record;
  record.run = run;
  record.best = 4.0;
  record.reachedTarget = true;
  for (int k = 0; k < count; ++k) {
    RecordedSolution solution;
    solution.sequences = orders[static_cast<std::size_t>(k % 6)];
    const std::vector<int>& second = orders[static_cast<std::size_t>(k / 6)];
    solution.sequences.insert(solution.sequences.end(), second.begin(), second.end());
    solution.makespan = 4;
    solution.line = k + 1;
    record.solutions.push_back(solution);
  }
  return record;
}

Instance flowShopInstance() {
  return makeInstance(3, 2, {1, 1, 1, 1, 1, 1}, {1, 2, 1, 2, 1, 2}, 4);
}

OptimaCoverage coverageOf(std::int64_t count, bool complete, bool optimal, int bound) {
  OptimaCoverage coverage;
  coverage.enumeration.jobs = 3;
  coverage.enumeration.machines = 2;
  coverage.enumeration.bound = bound;
  coverage.enumeration.count = count;
  coverage.enumeration.complete = complete;
  coverage.enumeration.optimal = optimal;
  coverage.target = 4;
  return coverage;
}

std::vector<std::vector<int>> squareOf(std::size_t side) {
  std::vector<std::vector<int>> matrix(side, std::vector<int>(side, 0));
  for (std::size_t i = 0; i < side; ++i) {
    for (std::size_t j = 0; j < side; ++j) matrix[i][j] = static_cast<int>(i > j ? i - j : j - i);
  }
  return matrix;
}

}  // namespace

TEST(ReportOptimaTables, TableOfAllSchedulesFoldsPastTwentyAndNamesTheSolutionFile) {
  const Instance instance = flowShopInstance();
  const std::string open =
      overallOptimaSection(analysisOf({runOfSchedules(1, 20)}, instance), instance);
  EXPECT_EQ(xpathOfText(open, "string(//details[@class=\"shared-optima\"]/@open)"), "open");
  EXPECT_EQ(xpathOfText(open, "string(//details/summary)"),
            "Every distinct schedule (20), with the runs that found it");
  const std::string folded =
      overallOptimaSection(analysisOf({runOfSchedules(1, 21)}, instance), instance);
  EXPECT_EQ(xpathOfText(folded, "count(//details[@class=\"shared-optima\"])"), "1");
  EXPECT_EQ(xpathOfText(folded, "count(//details[@open])"), "0");
  const std::string row = "//table[@class=\"shared-optima\"]/tbody/tr[21]";
  EXPECT_EQ(xpathOfText(folded, "string(" + row + "/td[1])"), "21");
  EXPECT_EQ(xpathOfText(folded, "string(" + row + "/td[@class=\"first\"])"),
            "D_Sal_Soluciones.txt line 21");
  // Every column's header is aligned as its cells are: numbers right, words left.
  EXPECT_EQ(xpathOfText(folded, "count(//thead/tr/th[@class=\"number\"])"), "1");
  EXPECT_EQ(xpathOfText(folded, "count(//thead/tr/th[@class=\"text\"])"), "4");
}

TEST(ReportOptimaTables, OneScheduleIsSingularAndOptimalOnlyWhenProven) {
  const Instance instance = flowShopInstance();
  const OptimumUnion one = uniteOptima({runOfSchedules(1, 1)});
  const std::string unproven =
      overallOptimaSection(analysisOf({runOfSchedules(1, 1)}, instance), instance);
  EXPECT_EQ(xpathOfText(unproven, "string(//h2)"),
            "Schedules at or below the target over all runs");
  EXPECT_EQ(xpathOfText(unproven, "string(//p[@class=\"overall\"])"),
            "The runs found 1 distinct schedule at or below the target (by machine orders); "
            "counted per run they are 1. 1 found by 1 run.");
  EXPECT_EQ(xpathOfText(unproven, "string(//td[@class=\"found-by\"])"), "found by 1 run");
  EXPECT_EQ(unproven.find("ptimal"), std::string::npos);

  // optima.json proves the target 4 optimal: now they are optimal schedules.
  OptimaCoverage proven = coverageOf(6, true, true, 4);
  const std::string optimal =
      overallOptimaSection(analysisOf({runOfSchedules(1, 1)}, instance, proven), instance);
  EXPECT_EQ(xpathOfText(optimal, "string(//p[@class=\"overall\"])"),
            "The runs found 1 distinct optimal schedule (by machine orders); counted per run they "
            "are 1. 1 found by 1 run.");
  // Proven optimal, but of a bound below the target: the runs' schedules at 4 are not optimal.
  EXPECT_EQ(
      overallOptimaSection(
          analysisOf({runOfSchedules(1, 1)}, instance, coverageOf(6, true, true, 3)), instance)
          .find("optimal schedule ("),
      std::string::npos);

  // A run's part: "1 distinct schedule", named "Schedule 1", in a section not called optimal.
  const std::vector<std::vector<SemiActiveSchedule>> rebuilt = {
      {rebuildSchedule(instance, runOfSchedules(1, 1).solutions[0].sequences)}};
  const std::string section = runOptimaSection({runOfSchedules(1, 1)}, one, rebuilt, instance, {});
  EXPECT_EQ(xpathOfText(section, "string(//h2)"), "Schedules at or below the target of each run");
  EXPECT_EQ(xpathOfText(section, "string(//details[@id=\"run-1\"]/summary)"),
            "Run 1: makespan 4, 1 distinct schedule, 0 also found by other runs");
  EXPECT_EQ(xpathOfText(section, "string(//figcaption)"),
            "Schedule 1 (D_Sal_Soluciones.txt line 1, found by this run only)");
}

TEST(ReportOptimaTables, AnEnumerationCutBeforeItFoundAnyIsNotAtLeastZero) {
  const OptimumUnion five = uniteOptima({runOfSchedules(1, 5)});
  for (const bool listed : {false, true}) {
    OptimaCoverage coverage = coverageOf(0, false, false, 4);
    coverage.listed = listed;
    if (listed) coverage.enumeration.listFile = "optima.txt";
    // Read as text: the sentence has no tags.
    const std::string sentence = coverageParagraph(coverage, five);
    EXPECT_EQ(sentence.find("at least 0"), std::string::npos) << sentence;
    EXPECT_EQ(sentence.find("At least 0"), std::string::npos) << sentence;
    EXPECT_NE(sentence.find("was cut before it found any schedules of makespan \u2264 4 (the "
                            "target, not proven to be the optimum)"),
              std::string::npos)
        << sentence;
    EXPECT_NE(sentence.find("the runs found 5 distinct schedules."), std::string::npos) << sentence;
  }
  // A count without a proof at the target is not of optimal schedules.
  EXPECT_EQ(enumeratedScheduleWords(coverageOf(6, true, false, 4)),
            "schedules of makespan \u2264 4 (the target, not proven to be the optimum)");
  EXPECT_EQ(enumeratedScheduleWords(coverageOf(6, true, true, 4)),
            "optimal schedules (makespan \u2264 4, the proven optimum)");
  EXPECT_EQ(enumeratedScheduleWords(coverageOf(6, true, true, 3)),
            "optimal schedules (makespan \u2264 3, the proven optimum, below the target 4)");
  EXPECT_EQ(enumeratedScheduleWords(coverageOf(6, true, false, 5)),
            "schedules of makespan \u2264 5 (above the target 4)");
}

// Seven shades from light to dark over 0 to the largest distance: distance d takes step
// round(6 d / top), so with top 36, 3 takes step 1 (0.5 rounds up) and 18 step 3.
TEST(ReportOptimaTables, DistanceMatrixFoldsPastThirtyOnASequentialScale) {
  EXPECT_EQ(distanceStep(0, 36), 0);
  EXPECT_EQ(distanceStep(3, 36), 1);
  EXPECT_EQ(distanceStep(18, 36), 3);
  EXPECT_EQ(distanceStep(36, 36), 6);
  EXPECT_EQ(distanceStep(0, 0), 0);

  const std::string open = distanceTable(squareOf(30), "thirty", "<p>note</p>");
  EXPECT_EQ(xpathOfText(open, "string(//details[@class=\"distances\"]/@open)"), "open");
  EXPECT_EQ(xpathOfText(open, "string(//summary)"), "thirty");
  // The legend's ends are 0 and the largest distance, 29.
  EXPECT_EQ(xpathOfText(open, "string(//div[@class=\"scale-legend\"]/span[1])"), "0");
  EXPECT_EQ(xpathOfText(open, "string(//div[@class=\"scale-legend\"]/span[last()])"), "29");
  EXPECT_EQ(xpathOfText(open, "count(//span[starts-with(@class, \"step \")])"), "7");
  EXPECT_EQ(xpathOfText(open, "string(//table/tr[31]/td[1]/@class)"), "h6");

  const std::string folded = distanceTable(squareOf(31), "thirty-one", "");
  EXPECT_EQ(xpathOfText(folded, "count(//details[@class=\"distances\"])"), "1");
  EXPECT_EQ(xpathOfText(folded, "count(//details[@open])"), "0");
}

}  // namespace jobshop
