// The estimates on the page: the paragraph beside the distinct count, the runs against a complete
// list, and the accumulation chart with what it rises towards.
#include <gtest/gtest.h>

#include "analysis/recorded_schedules.h"
#include "analysis_of.h"
#include "report/accumulation_chart.h"
#include "report/estimate_markup.h"
#include "report/execution_tables.h"
#include "report/html_report.h"
#include "report/overall_optima.h"
#include "report_fixture.h"
#include "sanitized_build.h"
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

// k = 2 1 1 over T = 3 runs: one schedule found twice, enough for an estimate.
std::vector<RunRecord> threeRuns() {
  return {runOf(1, 10, {{kA, 10}, {kB, 10}}), runOf(2, 10, {{kA, 10}}), runOf(3, 10, {{kC, 10}})};
}

constexpr const char* kUndercount =
    "<span class=\"caveat\">These estimators undercount when some schedules are much harder for "
    "the runs to reach than others, as they usually are: read them as lower bounds in practice, "
    "not as unbiased guesses of the total.</span>";

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

TEST(ReportEstimates, ParagraphGivesEachEstimateWithOneDecimal) {
  const std::string section = overallOptimaSection(analysisOf(threeRuns(), instance()), instance());
  // S_obs = 3, Q1 = 2, Q2 = 1, U = 4, a = 2/3, by hand: f0 = 2/3 * 2 * 1 / (2 * 2) = 1/3, so
  // Chao2 3.33; var = 1/3 + 4/9 * 2 * 9 / 16 + 4/9 * 4 / 64 = 0.8611, C = exp(1.96 sqrt(ln(1 +
  // var / f0^2))) = 17.933 (python3), interval 3 + f0 / C = 3.019 to 3 + f0 * C = 8.978.
  // Jackknife 1 3 + 2 * 2/3 = 4.33, jackknife 2 3 + 2 * 3/3 - 1 * 1 / 6 = 4.83, coverage
  // 1 - (2/4) * (4 / (4 + 2)) = 0.67. Every estimate keeps its decimal, 3.0 included.
  EXPECT_EQ(estimatesOf(section),
            std::string("<p class=\"estimates\">Estimated number of schedules of makespan 10, "
                        "from how often the 3 runs found the 3 they found: Chao2 <strong "
                        "class=\"chao2\">3.3</strong> (95 % interval 3.0 to 9.0); jackknife 1: "
                        "4.3; jackknife 2: 4.8; sample coverage 0.67. ") +
                kUndercount + "</p>");
  // Without runs (or with one run) there is nothing to estimate from.
  EXPECT_EQ(estimatesOf(overallOptimaSection(analysisOf({}, instance()), instance())), "");
  const std::vector<RunRecord> one = {threeRuns()[0]};
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
  EXPECT_NE(paragraph.find("Chao2 <strong class=\"chao2\">2.0</strong> (no sign of unseen "
                           "schedules); jackknife 1: 2.0; jackknife 2: 2.0; sample coverage 1.00."),
            std::string::npos)
      << paragraph;
  EXPECT_NE(paragraph.find("They are about makespan 9, the best the runs reached, below the "
                           "target 10. The one recorded schedule of another makespan is not "
                           "counted in them."),
            std::string::npos)
      << paragraph;
}

TEST(ReportEstimates, TooFewRepeatsGiveOnlyAMutedLowerBound) {
  // S_obs = 4, Q1 = 3, Q2 = 0, T = 4, by hand: f0 = 3/4 * 3 * 2 / 2 = 2.25, Chao2 6.25 (printed
  // 6.2, as printf rounds the tie); coverage 1 - (3/6) * 1 = 0.50, not under the threshold, but
  // no schedule found by two runs leaves Chao2 nothing to lean on. The interval and the
  // jackknives are left out.
  const std::string lowerBound =
      estimatesOf(overallOptimaSection(analysisOf(fourRuns(), instance()), instance()));
  EXPECT_EQ(lowerBound,
            std::string("<p class=\"estimates\">Number of schedules of makespan 10 in all: <span "
                        "class=\"lower-bound\">at least <strong class=\"chao2\">6.2</strong> "
                        "(Chao2; too few repeats to estimate the total)</span>. The 4 runs found "
                        "4, none of them by exactly two runs (sample coverage 0.50). ") +
                kUndercount + "</p>");

  // k = 2 and six 1s over T = 3, by hand: Q1 = 6, Q2 = 1, U = 8, coverage 1 - (6/8) * (12 / 14)
  // = 0.357, under 0.5.
  const std::vector<RunRecord> thin = {runOf(1, 10, {{kA, 10}, {kB, 10}, {{1, 1, 2, 2}, 10}}),
                                       runOf(2, 10, {{kA, 10}, {kC, 10}, {{2, 2, 1, 1}, 10}}),
                                       runOf(3, 10, {{kD, 10}, {{1, 2, 2, 2}, 10}})};
  const std::string uncovered =
      estimatesOf(overallOptimaSection(analysisOf(thin, instance()), instance()));
  EXPECT_NE(uncovered.find("</span>. The 3 runs found 7, and the sample coverage is 0.36, under "
                           "the 0.5 an estimate needs."),
            std::string::npos)
      << uncovered;
  EXPECT_EQ(uncovered.find("interval"), std::string::npos) << uncovered;
}

// The whole page, estimates paragraph and accumulation chart together, without an enumeration.
TEST(ReportEstimates, ThePageSaysTheUndercountOnceAndAWeakEstimateAsALowerBound) {
  for (const bool weak : {true, false}) {
    const std::vector<RunRecord> runs = weak ? fourRuns() : threeRuns();
    ResultRecords records;
    records.runs = runs;
    const auto schedules = rebuildRecordedSchedules(runs, instance(), records.problems);
    const std::string page =
        htmlReport("", instance(), records, schedules, analysisOf(runs, instance()));
    EXPECT_EQ(occurrences(page, "much harder for the runs to reach"), 1u) << weak;
    EXPECT_EQ(occurrences(page, "at least"), weak ? 2u : 0u) << "paragraph and chart";
    EXPECT_EQ(occurrences(page, "too few repeats to estimate the total"), weak ? 2u : 0u);
    EXPECT_EQ(occurrences(page, "95 % interval"), weak ? 0u : 3u) << "paragraph, label, caption";
  }
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
  const std::string estimated = accumulationSection(analysisOf(threeRuns(), instance()));
  EXPECT_EQ(occurrences(estimated, "<rect class=\"estimate-band\""), 1u);
  EXPECT_EQ(occurrences(estimated, "<line class=\"estimate\""), 1u);
  EXPECT_EQ(occurrences(estimated, "class=\"ceiling\""), 0u);
  EXPECT_NE(estimated.find("Chao2 estimate 3.3 (95 % interval 3.0 to 9.0)"), std::string::npos);
  EXPECT_NE(estimated.find("Like the estimates above, it is a lower bound in practice."),
            std::string::npos);
  // The interval's end (8.98) lies above twice the estimate (3.33), where the plot stops: the
  // cut is named, and the band ends at the top of the plot.
  EXPECT_NE(estimated.find("\u2191 the interval goes on to 9.0"), std::string::npos) << estimated;
  EXPECT_NE(estimated.find("cut at the top of the chart."), std::string::npos);

  // No schedule found by two runs: a muted line, no band.
  const std::string bounded = accumulationSection(analysisOf(runs, instance()));
  EXPECT_EQ(occurrences(bounded, "estimate-band"), 0u);
  EXPECT_EQ(occurrences(bounded, "<line class=\"estimate lower-bound\""), 1u);
  EXPECT_NE(bounded.find("Chao2: at least 6.2 (too few repeats to estimate the total)"),
            std::string::npos)
      << bounded;
  // S(4) - S(3) = Q1 / T = 3/4.
  EXPECT_NE(bounded.find("<strong class=\"last-step\">0.75</strong>"), std::string::npos);

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
}

TEST(ReportEstimates, EstimatesKeepOneDecimalAndTheirGroups) {
  EXPECT_EQ(estimateText(70198.44), "70,198.4");
  EXPECT_EQ(estimateText(14014.4), "14,014.4");
  EXPECT_EQ(estimateText(1234567.0), "1,234,567.0");
  EXPECT_EQ(estimateText(52.97), "53.0") << "never a bare 53 beside an exact count of 53";
  EXPECT_EQ(estimateText(46.54), "46.5");
  EXPECT_EQ(estimateText(999.96), "1,000.0");
}

// Runs that found 3 of 4,000 listed schedules in all: the ratios keep their first digits.
TEST(ReportEstimates, SmallRatiosAreNotRoundedToZero) {
  SKIP_WHEN_SANITIZED();
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
