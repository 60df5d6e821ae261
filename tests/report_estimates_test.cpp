// The estimates on the page: the paragraph beside the distinct count, the runs against a complete
// list, and the accumulation chart with what it rises towards.
#include <gtest/gtest.h>

#include "analysis_of.h"
#include "report/accumulation_chart.h"
#include "report/estimate_markup.h"
#include "report/execution_tables.h"
#include "report/overall_optima.h"
#include "report_fixture.h"
#include "test_instances.h"

namespace jobshop {

namespace {

using Schedule = std::vector<int>;
const Schedule kA = {1, 2, 1, 2}, kB = {2, 1, 1, 2}, kC = {1, 2, 2, 1}, kD = {2, 1, 2, 1};

RunRecord runOf(int number, double best, const std::vector<std::pair<Schedule, int>>& found) {
  RunRecord run;
  run.run = number;
  run.best = best;
  run.reachedTarget = best <= 10;
  run.execution = 1;
  int line = number * 10;
  for (const auto& [sequences, makespan] : found)
    run.solutions.push_back({sequences, makespan, ++line});
  return run;
}

Instance instance() { return makeInstance(2, 2, {1, 1, 1, 1}, {1, 2, 2, 1}, 10); }

// k = 3 1 1 1 over T = 4 runs at makespan 10, the target.
std::vector<RunRecord> fourRuns() {
  return {runOf(1, 10, {{kA, 10}, {kB, 10}}), runOf(2, 10, {{kA, 10}, {kC, 10}}),
          runOf(3, 10, {{kA, 10}}), runOf(4, 10, {{kD, 10}})};
}

OptimaCoverage completeList(int bound, std::set<Schedule> schedules) {
  OptimaCoverage coverage;
  coverage.target = 10;
  coverage.listed = true;
  coverage.enumeration.jobs = coverage.enumeration.machines = 2;
  coverage.enumeration.bound = bound;
  coverage.enumeration.complete = true;
  coverage.enumeration.listFile = "optima.txt";
  coverage.enumeration.count = static_cast<std::int64_t>(schedules.size());
  coverage.enumeration.schedules = std::move(schedules);
  return coverage;
}

std::string estimatesOf(const std::string& section) {
  const std::size_t start = section.find("<p class=\"estimates\">");
  if (start == std::string::npos) return {};
  return section.substr(start, section.find("</p>", start) + 4 - start);
}

}  // namespace

TEST(ReportEstimates, ParagraphGivesEachEstimateRounded) {
  const std::vector<RunRecord> runs = fourRuns();
  const std::string section = overallOptimaSection(analysisOf(runs, instance()), instance());
  // S_obs = 4, Q1 = 3, Q2 = 0, U = 6, a = 3/4: f0 = 0.75 * 3 * 2 / 2 = 2.25, so Chao2 6.25;
  // the interval is S_obs + 2.25 / C to S_obs + 2.25 * C with C = 9.0310 (as in
  // RichnessEstimates.NoScheduleFoundTwiceStaysFinite): 4.249 to 24.320. Jackknife 1
  // 4 + 3 * 3/4 = 6.25, jackknife 2 4 + 3 * 5/4 = 7.75, coverage 1 - (3/6) * 1 = 0.5.
  EXPECT_EQ(estimatesOf(section),
            "<p class=\"estimates\">Estimated number of schedules of makespan 10, from how often "
            "the 4 runs found the 4 they found: Chao2 <strong class=\"chao2\">6.3</strong> (95 % "
            "interval 4.2 to 24.3); jackknife 1: 6.3; jackknife 2: 7.8; sample coverage 0.50. "
            "<span class=\"caveat\">These are estimates that take the runs for uniform samples "
            "of the schedules, which they are not: schedules no run reaches easily are "
            "under-counted, so the estimates tend to be low.</span></p>");
  // Without runs (or with one run) there is nothing to estimate from.
  EXPECT_EQ(estimatesOf(overallOptimaSection(analysisOf({}, instance()), instance())), "");
  const std::vector<RunRecord> one = {runs[0]};
  EXPECT_EQ(estimatesOf(overallOptimaSection(analysisOf(one, instance()), instance())), "");
}

TEST(ReportEstimates, SaysWhichMakespanAndWhenNothingIsUnseen) {
  // Both runs hold kA and kB at 9, below the target; run 2 also kC at 10. Q1 = 0, Q2 = 2, T = 2:
  // Chao2 = jackknife 1 = 2, jackknife 2 = 2 + 0 - 2 * 0^2 / (2 * 1) = 2, coverage 1.
  const std::vector<RunRecord> runs = {runOf(1, 9, {{kA, 9}, {kB, 9}}),
                                       runOf(2, 9, {{kA, 9}, {kB, 9}, {kC, 10}})};
  const std::string paragraph =
      estimatesOf(overallOptimaSection(analysisOf(runs, instance()), instance()));
  EXPECT_NE(paragraph.find("Estimated number of schedules of makespan 9,"), std::string::npos);
  EXPECT_NE(paragraph.find("Chao2 <strong class=\"chao2\">2</strong> (no sign of unseen "
                           "schedules); jackknife 1: 2; jackknife 2: 2; sample coverage 1.00."),
            std::string::npos)
      << paragraph;
  EXPECT_NE(paragraph.find("They are about makespan 9, the best the runs reached, below the "
                           "target 10. The one recorded schedule of another makespan is not "
                           "counted in them."),
            std::string::npos)
      << paragraph;
}

TEST(ReportEstimates, ExactCountOnlyAtTheBestMakespan) {
  const std::vector<RunRecord> runs = fourRuns();
  const std::string atBest = estimatesOf(overallOptimaSection(
      analysisOf(runs, instance(), completeList(10, {kA, kB, kC, kD, {1, 1, 2, 2}})), instance()));
  EXPECT_NE(atBest.find("The enumeration counts <strong class=\"exact-count\">5</strong> of "
                        "makespan \u2264 10."),
            std::string::npos)
      << atBest;
  const std::string above = estimatesOf(
      overallOptimaSection(analysisOf(runs, instance(), completeList(11, {kA, kB})), instance()));
  EXPECT_EQ(above.find("enumeration counts"), std::string::npos) << above;
}

TEST(ReportEstimates, PeakRatioAndSuccessRateBesideFoundKOfK) {
  const std::vector<RunRecord> runs = fourRuns();
  const std::optional<OptimaCoverage> list = completeList(10, {kA, kB});
  const std::string section = overallOptimaSection(analysisOf(runs, instance(), list), instance());
  // Runs find 2, 1, 1 and 0 of the two listed: (2 + 1 + 1 + 0) / (2 * 4) = 0.5; run 1 found both.
  EXPECT_NE(section.find("<p class=\"enumeration-measures\">Against the list of 2: peak ratio "
                         "<strong class=\"peak-ratio\">0.50</strong> (a run found 50 % of the "
                         "listed schedules on average); success rate <strong "
                         "class=\"success-rate\">0.25</strong> (1 of 4 runs found all of them)."
                         "</p>"),
            std::string::npos)
      << section;
  OptimaCoverage partial = *list;
  partial.enumeration.complete = false;
  EXPECT_EQ(
      overallOptimaSection(analysisOf(runs, instance(), partial), instance()).find("peak ratio"),
      std::string::npos);

  // Per execution: runs 1 and 2 in execution 1, runs 3 and 4 in execution 2.
  std::vector<RunRecord> split = runs;
  split[2].execution = split[3].execution = 2;
  ExecutionLog log;
  log.present = true;
  log.executions.resize(2);
  log.executions[0].number = 1;
  log.executions[1].number = 2;
  const ReportAnalysis measured = analysisOf(split, instance(), list, log);
  const std::string table =
      executionsSection(log, split, measured.repeats, measured.measuresByExecution);
  // Execution 1: (2 + 1) / (2 * 2) = 0.75, one of two found both; execution 2: 1 / 4, none.
  EXPECT_NE(table.find("<tr><th>peak ratio / success rate</th><td>0.75 / 0.50</td><td>0.25 / "
                       "0.00</td></tr>"),
            std::string::npos)
      << table;
  const ReportAnalysis unmeasured = analysisOf(split, instance(), std::nullopt, log);
  EXPECT_EQ(executionsSection(log, split, unmeasured.repeats, unmeasured.measuresByExecution)
                .find("peak ratio"),
            std::string::npos);
}

TEST(ReportEstimates, AccumulationRisesTowardsTheCountOrTheEstimate) {
  const std::vector<RunRecord> runs = fourRuns();
  const std::string estimated = accumulationSection(analysisOf(runs, instance()));
  EXPECT_EQ(occurrences(estimated, "<rect class=\"estimate-band\""), 1u);
  EXPECT_EQ(occurrences(estimated, "<line class=\"estimate\""), 1u);
  EXPECT_EQ(occurrences(estimated, "class=\"ceiling\""), 0u);
  EXPECT_NE(estimated.find("Chao2 estimate 6.3 (95 % interval 4.2 to 24.3)"), std::string::npos);
  // S(4) - S(3) = Q1 / T = 3/4.
  EXPECT_NE(estimated.find("<strong class=\"last-step\">0.75</strong>"), std::string::npos);

  const std::string counted = accumulationSection(
      analysisOf(runs, instance(), completeList(10, {kA, kB, kC, kD, {1, 1, 2, 2}})));
  EXPECT_EQ(occurrences(counted, "<line class=\"ceiling\""), 1u);
  EXPECT_EQ(occurrences(counted, "estimate-band"), 0u);
  EXPECT_NE(counted.find("enumeration: 5"), std::string::npos);

  // No curve when no run reached the target, or from a single run.
  const std::vector<RunRecord> missed = {runOf(1, 12, {}), runOf(2, 11, {})};
  EXPECT_EQ(accumulationSection(analysisOf(missed, instance())), "");
  const std::vector<RunRecord> one = {runs[0]};
  EXPECT_EQ(accumulationSection(analysisOf(one, instance())), "");
}

// Four found against 66,989 counted: drawn to that scale the curve would lie on the axis.
TEST(ReportEstimates, AFarCeilingIsNamedAtTheTopInsteadOfSquashingTheCurve) {
  const std::vector<RunRecord> runs = fourRuns();
  OptimaCoverage counted = completeList(10, {kA, kB, kC, kD});
  counted.enumeration.count = 66989;
  const std::string section = accumulationSection(analysisOf(runs, instance(), counted));
  EXPECT_EQ(occurrences(section, "<line class=\"ceiling\""), 0u);
  EXPECT_NE(section.find("\u2191 enumeration: 66,989, far above the chart"), std::string::npos)
      << section;
  EXPECT_NE(section.find("lies far above the curve"), std::string::npos);
  EXPECT_EQ(estimateText(14014.4), "14,014");
  EXPECT_EQ(estimateText(46.54), "46.5");
}

// Runs that found 3 of 4,000 listed schedules in all: the ratios keep their first digits.
TEST(ReportEstimates, SmallRatiosAreNotRoundedToZero) {
  const std::vector<RunRecord> runs = fourRuns();
  std::set<Schedule> listed = {kA};
  for (int k = 0; static_cast<int>(listed.size()) < 4000; ++k) listed.insert({k, 0, 0, 0});
  const std::string section =
      overallOptimaSection(analysisOf(runs, instance(), completeList(10, listed)), instance());
  // (1 + 1 + 1 + 0) / (4,000 * 4) = 0.0001875, that is 0.01875 %.
  EXPECT_NE(section.find("peak ratio <strong class=\"peak-ratio\">0.00019</strong> (a run found "
                         "0.02 % of the listed schedules on average)"),
            std::string::npos)
      << section;
}

TEST(ReportEstimates, PageLinksTheAccumulationSection) {
  // The fixture's runs 2, 3 and 4 hold five schedules, two of them by 3 and 2 runs, over T = 4
  // runs: Q1 = 3, Q2 = 1, so Chao2 = 5 + 0.75 * 3 * 2 / (2 * 2) = 6.125.
  const std::string folder = folderWith(fixtureFiles());
  ASSERT_EQ(report({"--dir", folder}).status, 0);
  const std::string page = folder + "report.html";
  ASSERT_TRUE(wellFormedXml(page));
  EXPECT_EQ(xpath(page, "count(//nav//a[@href=\"#accumulation\"])"), "1");
  EXPECT_EQ(xpath(page, "count(//section[@id=\"accumulation\"]//svg)"), "1");
  EXPECT_EQ(xpath(page, "string(//p[@class=\"estimates\"]/strong[@class=\"chao2\"])"), "6.1");
}

}  // namespace jobshop
