// The measures of the runs' traces where the report shows them: the analysis, the page's summary,
// runs table and chart, the CSV and the JSON; with and without the exact count, and for runs made
// before the trace was kept.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "analysis_of.h"
#include "report/held_found_chart.h"
#include "report/html_report.h"
#include "report/report_csv.h"
#include "report/report_json.h"
#include "report_fixture.h"
#include "test_instances.h"
#include "xml_document.h"

namespace jobshop {

namespace {

using Json = nlohmann::json;

constexpr int kTarget = 7;

Instance instance() {
  Instance made = twoByTwoInstance();
  made.targetMakespan = kTarget;
  return made;
}

GenerationTrace row(std::int64_t evaluations, int distinct, int held, int found) {
  GenerationTrace trace;
  trace.evaluations = evaluations;
  trace.distinct = distinct;
  trace.held = held;
  trace.found = found;
  return trace;
}

RunRecord tracedRun(int number, int execution, RunTrace trace) {
  RunRecord run = runEndingAt(number, kTarget, kTarget);
  run.execution = execution;
  for (std::size_t g = 0; g < trace.size(); ++g) trace[g].generation = static_cast<int>(g);
  run.trace = std::move(trace);
  return run;
}

// Run 1 and 2 of execution 1 traced, run 3 of execution 2 made before the trace, run 4 a copy
// of run 1 in execution 2.
std::vector<RunRecord> runs() {
  std::vector<RunRecord> made = {
      tracedRun(1, 1, {row(10, 4, 1, 1), row(20, 4, 2, 3)}),
      tracedRun(2, 1, {row(10, 5, 0, 0), row(30, 5, 0, 0), row(40, 2, 2, 4)}),
      tracedRun(3, 2, {}),
      tracedRun(4, 2, {row(10, 4, 1, 1), row(20, 4, 2, 3)}),
  };
  made[3].repeatOf = 1;
  return made;
}

ExecutionLog logOfTwo() {
  ExecutionLog log;
  log.present = true;
  log.executions.resize(2);
  log.executions[0].number = 1;
  log.executions[1].number = 2;
  return log;
}

// A complete count of 4 schedules at the target, without a list.
OptimaCoverage countOf4(bool complete = true) {
  OptimaCoverage coverage;
  coverage.target = kTarget;
  coverage.enumeration.bound = kTarget;
  coverage.enumeration.count = 4;
  coverage.enumeration.complete = complete;
  return coverage;
}

std::string pageOf(const ReportAnalysis& analysis, const std::vector<RunRecord>& made,
                   const ExecutionLog& log = {}) {
  ResultRecords records;
  records.runs = made;
  records.log = log;
  return htmlReport("", instance(), records,
                    std::vector<std::vector<SemiActiveSchedule>>(made.size()), analysis);
}

}  // namespace

TEST(NichingReport, AnalysisAveragesTheCountedTracedRunsPerExecution) {
  const ReportAnalysis analysis = analysisOf(runs(), instance(), countOf4(), logOfTwo());
  ASSERT_EQ(analysis.exactCount, 4.0);
  ASSERT_EQ(analysis.runMeasures.size(), 4u);
  EXPECT_FALSE(analysis.runMeasures[2]) << "made before the trace";
  ASSERT_TRUE(analysis.runMeasures[3]) << "a copy is measured, though not averaged";
  // Run 1: held 2 of distinct 4, K 4: P = R = 1/2, F1 = 1/2; its row 0 (P = R = 1/4, F1 1/4)
  // lasts 10 of 20 evaluations: dynamic F1 = 1/8. By hand.
  EXPECT_DOUBLE_EQ(*analysis.runMeasures[0]->dynamicF1, 0.125);
  // Run 2: held 2 of distinct 2, K 4: P = 1, R = 1/2, F1 = 2/3; rows 0 and 1 hold none, so its
  // dynamic F1 is 0. By hand.
  EXPECT_DOUBLE_EQ(*analysis.runMeasures[1]->f1, 2.0 / 3.0);
  EXPECT_DOUBLE_EQ(*analysis.runMeasures[1]->dynamicF1, 0.0);

  const NichingAggregates& all = analysis.niching;
  EXPECT_EQ(all.traced, 2);
  EXPECT_EQ(all.untraced, 1) << "run 3; the copy, run 4, is not counted at all";
  EXPECT_DOUBLE_EQ(*all.found.mean, 3.5);        // (3 + 4)/2
  EXPECT_DOUBLE_EQ(*all.f1.median, 7.0 / 12.0);  // (1/2 + 2/3)/2
  ASSERT_EQ(analysis.nichingByExecution.size(), 2u);
  EXPECT_EQ(analysis.nichingByExecution[0].traced, 2);
  EXPECT_EQ(analysis.nichingByExecution[1].traced, 0);
  EXPECT_EQ(analysis.nichingByExecution[1].untraced, 1);
  EXPECT_FALSE(analysis.nichingByExecution[1].held.mean);
}

TEST(NichingReport, OnlyACompleteCountAtTheTargetIsK) {
  EXPECT_FALSE(analysisOf(runs(), instance()).exactCount);
  EXPECT_FALSE(analysisOf(runs(), instance(), countOf4(false)).exactCount);
  OptimaCoverage above = countOf4();
  above.enumeration.bound = kTarget + 1;
  const ReportAnalysis analysis = analysisOf(runs(), instance(), above);
  EXPECT_FALSE(analysis.exactCount);
  EXPECT_FALSE(analysis.runMeasures[0]->recall);
  EXPECT_DOUBLE_EQ(*analysis.runMeasures[0]->retention, 2.0 / 3.0);  // held 2 of found 3
}

TEST(NichingReport, ChartDrawsEachRunAndTheMedianOfHeldAndFound) {
  const std::vector<RunRecord> made = runs();
  const std::string svg = heldFoundChart(made);
  XmlDocument chart = xmlOfFragment(svg);
  ASSERT_TRUE(chart.wellFormed()) << chart.errors();
  // Runs 1, 2 and 4 have a trace; run 3 draws nothing.
  for (const char* measure : {"held-count", "found-count"}) {
    SCOPED_TRACE(measure);
    const std::string of = std::string("contains(@class, '") + measure + "')";
    EXPECT_EQ(chart.count("//svg/path[contains(@class, 'run-line') and " + of + "]"), 3);
    EXPECT_EQ(chart.count("//svg/path[contains(@class, 'median-line') and " + of + "]"), 1);
    EXPECT_EQ(chart.count("//svg/path[contains(@class, 'quartile-band') and " + of + "]"), 1);
  }
  EXPECT_EQ(chart.value("string(//svg/text[contains(@class, 'axis-title')][1])"),
            "evaluations spent");
  EXPECT_TRUE(heldFoundChart({tracedRun(1, 1, {})}).empty());
}

TEST(NichingReport, ARunStartsWhereItsFirstRowIsAndHoldsItsLastValue) {
  // One run from 10 to 40 evaluations: its line cannot start left of 10, and the median of one
  // run is the run itself, ending at the right edge of the plot with its last value.
  const std::vector<RunRecord> one = {tracedRun(1, 1, {row(10, 4, 1, 1), row(40, 4, 3, 3)})};
  XmlDocument chart = xmlOfFragment(heldFoundChart(one));
  ASSERT_TRUE(chart.wellFormed()) << chart.errors();
  const std::string run =
      chart.value("string(//svg/path[contains(@class, 'run-line held-count')]/@d)");
  const std::string median =
      chart.value("string(//svg/path[contains(@class, 'median-line held-count')]/@d)");
  EXPECT_EQ(run, median);
  EXPECT_NE(run.find(" V"), std::string::npos) << "a step from 1 to 3: " << run;
}

TEST(NichingReport, PageShowsTheMeasuresAndSaysOnceWhatNeedsK) {
  const std::vector<RunRecord> made = runs();
  const std::string without = pageOf(analysisOf(made, instance()), made);
  XmlDocument page = XmlDocument::fromText(without);
  ASSERT_TRUE(page.wellFormed()) << page.errors();
  EXPECT_EQ(occurrences(without, "need an exact count"), 1u);
  EXPECT_EQ(page.count("//table[@class='runs']//th[.='held']"), 1);
  EXPECT_EQ(page.count("//table[@class='runs']//th[.='dyn. F1']"), 0);
  EXPECT_EQ(page.count("//table[@class='measures']//th[.='recall']"), 0);
  EXPECT_EQ(page.count("//table[@class='measures']//th[.='retention']"), 1);
  EXPECT_EQ(page.count("//section[@id='held-found']//svg"), 1);

  const std::string with = pageOf(analysisOf(made, instance(), countOf4()), made);
  XmlDocument counted = XmlDocument::fromText(with);
  ASSERT_TRUE(counted.wellFormed()) << counted.errors();
  EXPECT_EQ(occurrences(with, "need an exact count"), 0u);
  EXPECT_EQ(counted.count("//table[@class='runs']//th[.='dyn. F1']"), 1);
  // Run 1's F1 in the runs table: 1/2.
  EXPECT_EQ(counted.value("string(//table[@class='runs']/tbody/tr[1]/td[count(//table["
                          "@class='runs']//th[.='F1']/preceding-sibling::th) + 1])"),
            "0.500");
}

// With most runs finding nothing the medians run flat along zero, which the page explains; with
// the runs above (found 3 and 4, median 3.5) it does not.
TEST(NichingReport, MediansOnZeroAreExplained) {
  const auto sayZero = [](const std::vector<RunRecord>& made) {
    const std::string html = pageOf(analysisOf(made, instance()), made);
    return html.find("both medians lie on zero") != std::string::npos;
  };
  EXPECT_FALSE(sayZero(runs()));
  // Found 0, 0 and 2: the median is 0.
  const std::vector<RunRecord> sparse = {tracedRun(1, 1, {row(10, 4, 0, 0)}),
                                         tracedRun(2, 1, {row(10, 4, 0, 0)}),
                                         tracedRun(3, 1, {row(10, 4, 1, 2)})};
  EXPECT_TRUE(sayZero(sparse));
  // None found any: no line stands above zero, and the page does not say some do.
  const std::vector<RunRecord> none = {tracedRun(1, 1, {row(10, 4, 0, 0)}),
                                       tracedRun(2, 1, {row(10, 4, 0, 0)})};
  const std::string html = pageOf(analysisOf(none, instance()), none);
  EXPECT_NE(html.find("No run found a schedule at or below the target"), std::string::npos);
  EXPECT_EQ(html.find("the runs that did"), std::string::npos);
}

TEST(NichingReport, RunsMadeBeforeTheTraceDrawNothing) {
  const std::vector<RunRecord> old = {tracedRun(1, 1, {}), tracedRun(2, 1, {})};
  const ReportAnalysis analysis = analysisOf(old, instance(), countOf4());
  const std::string html = pageOf(analysis, old);
  XmlDocument page = XmlDocument::fromText(html);
  ASSERT_TRUE(page.wellFormed()) << page.errors();
  EXPECT_EQ(page.count("//section[@id='held-found']//svg"), 0);
  EXPECT_NE(page.value("string(//section[@id='held-found'])").find("before the trace"),
            std::string::npos);
  EXPECT_EQ(page.count("//table[@class='measures']"), 0);
  EXPECT_EQ(page.count("//table[@class='runs']//th[.='held']"), 0);
}

TEST(NichingReport, CsvEndsWithTheMeasuresEmptyWhereUnknown) {
  const std::vector<RunRecord> made = runs();
  const ReportAnalysis analysis = analysisOf(made, instance());
  const std::string csv =
      reportCsv(made, analysis.runFigures, {}, std::nullopt, analysis.runMeasures);
  const std::string header = csv.substr(0, csv.find('\n'));
  EXPECT_TRUE(
      header.ends_with(",held,found,distinct,recall,precision,f1,foundRecall,retention,dynamicF1"))
      << header;
  // Run 1: held 2, found 3, distinct 4; no K; precision 1/2, retention 2/3.
  EXPECT_NE(csv.find(",2,3,4,,0.500000,,,0.666667,\n"), std::string::npos) << csv;
  // Run 3: no trace.
  EXPECT_NE(csv.find(",,,,,,,,,\n"), std::string::npos) << csv;
}

TEST(NichingReport, JsonHasEachRunsMeasuresAndTheAveragesPerExecution) {
  const std::vector<RunRecord> made = runs();
  ResultRecords records;
  records.runs = made;
  records.log = logOfTwo();
  const Json with =
      Json::parse(reportJson(instance(), records, analyseReport(instance(), records, countOf4())));
  const Json& first = with["runs"][0];
  for (const char* field : {"held", "found", "distinct", "recall", "precision", "f1", "foundRecall",
                            "retention", "dynamicF1"}) {
    SCOPED_TRACE(field);
    ASSERT_TRUE(first.contains(field));
    EXPECT_FALSE(first[field].is_null());
    EXPECT_TRUE(with["runs"][2][field].is_null()) << "run 3 has no trace";
  }
  EXPECT_EQ(first["held"], 2);
  EXPECT_DOUBLE_EQ(first["dynamicF1"].get<double>(), 0.125);
  EXPECT_EQ(with["measures"]["K"], 4);
  EXPECT_EQ(with["measures"]["overall"]["traced"], 2);
  EXPECT_EQ(with["measures"]["overall"]["untraced"], 1);
  EXPECT_DOUBLE_EQ(with["measures"]["overall"]["f1"]["mean"].get<double>(), 7.0 / 12.0);
  ASSERT_EQ(with["measures"]["executions"].size(), 2u);
  EXPECT_EQ(with["measures"]["executions"][1]["execution"], 2);
  EXPECT_TRUE(with["measures"]["executions"][1]["held"]["median"].is_null());

  const Json without = Json::parse(
      reportJson(instance(), records, analyseReport(instance(), records, std::nullopt)));
  EXPECT_TRUE(without["measures"]["K"].is_null());
  for (const char* field : {"recall", "f1", "foundRecall", "dynamicF1"}) {
    SCOPED_TRACE(field);
    EXPECT_TRUE(without["runs"][0][field].is_null());
    EXPECT_TRUE(without["measures"]["overall"][field]["mean"].is_null());
  }
  EXPECT_DOUBLE_EQ(without["runs"][0]["precision"].get<double>(), 0.5);
}

}  // namespace jobshop
