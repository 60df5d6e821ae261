// The measures of the runs' traces per campaign setting, and the settings compared on found
// schedules and dynamic F1, on a campaign made up by hand.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "analysis/campaign_analysis.h"
#include "report/campaign_page.h"
#include "report/collected_runs_csv.h"
#include "report/collection_json.h"
#include "xml_document.h"

namespace jobshop {

namespace {

constexpr int kTarget = 10;
constexpr double kK = 8;

GenerationTrace row(std::int64_t evaluations, int held, int found) {
  GenerationTrace trace;
  trace.evaluations = evaluations;
  trace.distinct = 4;
  trace.held = held;
  trace.found = found;
  return trace;
}

// Held h from the start, found f by the end: with K = 8, row 0 has P = h/4, R = h/8 and
// F1 = 2(h/4)(h/8)/(3h/8) = h/6, lasting 10 of 20 evaluations: dynamic F1 = h/12 (by hand).
RunRecord runOf(int number, int held, int found) {
  RunRecord run;
  run.run = number;
  run.best = kTarget;
  run.reachedTarget = true;
  run.distinctOptima = held;
  run.trace = {row(10, held, held), row(20, held, found)};
  run.trace[1].generation = 1;
  return run;
}

ExecutionRecords executionOf(const std::string& setting, std::vector<RunRecord> runs) {
  ExecutionRecords e;
  e.planned.folder = "ft06/" + setting + "/1";
  e.planned.instance = "ft06";
  e.planned.setting = setting;
  e.planned.repetition = 1;
  e.planned.target = kTarget;
  e.finished = true;
  e.runs = std::move(runs);
  return e;
}

CampaignRecords campaign() {
  CampaignRecords records;
  // A: held 4, 3, 2 and found 6, 5, 4; B: held 1, 0, 1 and found 1, 2, 3; C: made before the
  // trace.
  records.executions.push_back(executionOf("A", {runOf(1, 4, 6), runOf(2, 3, 5), runOf(3, 2, 4)}));
  records.executions.push_back(executionOf("B", {runOf(1, 1, 1), runOf(2, 0, 2), runOf(3, 1, 3)}));
  RunRecord old = runOf(1, 2, 2);
  old.trace.clear();
  records.executions.push_back(executionOf("C", {old}));
  EnumeratedOptima counted;
  counted.complete = true;
  counted.bound = kTarget;
  counted.count = static_cast<std::int64_t>(kK);
  records.enumerations.push_back({"ft06", counted, ""});
  return records;
}

}  // namespace

TEST(CampaignMeasures, EachSettingAveragesItsTracedRuns) {
  const CampaignAnalysis analysis = analyseCampaign(campaign());
  ASSERT_EQ(analysis.settings.size(), 3u);
  const SettingSummary& a = analysis.settings[0];
  EXPECT_EQ(a.exactCount, kK);
  EXPECT_EQ(a.niching.traced, 3);
  EXPECT_DOUBLE_EQ(*a.niching.found.mean, 5.0);         // (6+5+4)/3
  EXPECT_DOUBLE_EQ(*a.niching.dynamicF1.median, 0.25);  // 3/12, by hand
  EXPECT_DOUBLE_EQ(*a.niching.retention.mean, (4.0 / 6 + 3.0 / 5 + 2.0 / 4) / 3);
  EXPECT_EQ(a.dynamicF1PerTracedRun, (std::vector<double>{4.0 / 12, 3.0 / 12, 2.0 / 12}));
  const SettingSummary& c = analysis.settings[2];
  EXPECT_EQ(c.niching.traced, 0);
  EXPECT_EQ(c.niching.untraced, 1);
  EXPECT_TRUE(c.foundPerTracedRun.empty());
}

TEST(CampaignMeasures, SettingsComparedOnFoundAndDynamicF1) {
  const CampaignAnalysis analysis = analyseCampaign(campaign());
  ASSERT_EQ(analysis.comparisons.size(), 3u);  // A-B, A-C, B-C
  const SettingComparison& ab = analysis.comparisons[0];
  // Found {6,5,4} against {1,2,3}: U = 9 of 9, no ties; normal approximation with continuity
  // correction: z = (9 - 4.5 - 0.5)/sqrt(3*3*7/12) = 1.7457, two-sided p = erfc(z/sqrt 2),
  // by python3 math.erfc: 0.0808555983700523 (the exact p of a table is 0.1).
  EXPECT_NEAR(*ab.foundP, 0.0808555983700523, 1e-12);
  EXPECT_DOUBLE_EQ(*ab.foundSuperiority, 1.0);
  // Dynamic F1 {4,3,2}/12 against {1,0,1}/12: U = 9, one tie of two: variance
  // 9/12 (7 - (2^3-2)/(6*5)) = 5.1, z = 4/sqrt(5.1); python3 math.erfc: 0.07652250047505921.
  EXPECT_NEAR(*ab.dynamicF1P, 0.07652250047505921, 1e-12);
  EXPECT_DOUBLE_EQ(*ab.dynamicF1Superiority, 1.0);
  // C's run has no trace: no such test with C, so Holm's family of each is A-B alone.
  for (const SettingComparison* pair : {&analysis.comparisons[1], &analysis.comparisons[2]}) {
    EXPECT_FALSE(pair->foundP);
    EXPECT_FALSE(pair->dynamicF1P);
    EXPECT_FALSE(pair->foundPHolm);
  }
  EXPECT_DOUBLE_EQ(*ab.foundPHolm, *ab.foundP);
  EXPECT_DOUBLE_EQ(*ab.dynamicF1PHolm, *ab.dynamicF1P);
}

TEST(CampaignMeasures, HolmAdjustsTheFoundTestsOfAnInstanceTogether) {
  CampaignRecords records = campaign();
  // C now traced and like B: three pairs with a found test each.
  records.executions[2] = executionOf("C", {runOf(1, 1, 1), runOf(2, 0, 2), runOf(3, 1, 3)});
  const CampaignAnalysis analysis = analyseCampaign(std::move(records));
  const SettingComparison& ab = analysis.comparisons[0];
  const SettingComparison& ac = analysis.comparisons[1];
  const SettingComparison& bc = analysis.comparisons[2];
  ASSERT_TRUE(ab.foundP && ac.foundP && bc.foundP);
  // Holm: the two smallest (A-B, A-C, equal) times 3, then 2, made monotone: both 3p; B-C's p
  // (identical samples: 1) stays 1.
  EXPECT_NEAR(*ab.foundPHolm, 3 * 0.0808555983700523, 1e-12);
  EXPECT_NEAR(*ac.foundPHolm, 3 * 0.0808555983700523, 1e-12);
  EXPECT_DOUBLE_EQ(*bc.foundPHolm, 1.0);
}

TEST(CampaignMeasures, PageJsonAndCsvShowTheMeasuresAndComparisons) {
  const CampaignAnalysis analysis = analyseCampaign(campaign());
  const nlohmann::json json = nlohmann::json::parse(collectionJson(analysis));
  const nlohmann::json& a = json["instances"][0]["settings"][0];
  EXPECT_EQ(a["measures"]["K"], 8);
  EXPECT_DOUBLE_EQ(a["measures"]["found"]["mean"].get<double>(), 5.0);
  EXPECT_TRUE(json["instances"][0]["settings"][2]["measures"]["held"]["mean"].is_null());
  const nlohmann::json& ab = json["comparisons"][0];
  EXPECT_NEAR(ab["foundP"].get<double>(), 0.0808555983700523, 1e-12);
  EXPECT_TRUE(ab.contains("dynamicF1PHolm"));
  EXPECT_TRUE(json["comparisons"][1]["foundP"].is_null());

  const std::string csv = collectedRunsCsv(analysis);
  EXPECT_NE(csv.find(",held,found,distinct,recall,precision,f1,foundRecall,retention,"
                     "dynamicF1\n"),
            std::string::npos);
  // A's first run: held 4, found 6, distinct 4, recall 4/8, precision 1, F1 2/3, found recall
  // 6/8, retention 4/6, dynamic F1 4/12.
  EXPECT_NE(csv.find(",4,6,4,0.500000,1.000000,0.666667,0.750000,0.666667,0.333333\n"),
            std::string::npos)
      << csv;

  XmlDocument page = XmlDocument::fromText(campaignPage("t", analysis, "", "index.html"));
  ASSERT_TRUE(page.wellFormed()) << page.errors();
  EXPECT_EQ(page.count("//table[contains(@class, 'measures')]//tr"), 4);  // heading and 3 rows
  EXPECT_EQ(page.count("//table[contains(@class, 'traces')]//tr"), 4);
}

}  // namespace jobshop
