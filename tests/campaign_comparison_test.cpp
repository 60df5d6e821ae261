// Pairs of settings compared per instance, and the collected campaign as JSON: the figures of the
// page for programs, read back from a small campaign that was run.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "analysis/setting_comparison.h"
#include "campaign_test_support.h"
#include "campaigns/campaign_collect.h"
#include "campaigns/manifest.h"
#include "report/campaign_page.h"
#include "report/summary_table.h"
#include "test_instances.h"

namespace jobshop {

namespace {

SettingSummary settingOf(const std::string& instance, const std::string& setting, int runs,
                         int reached, std::vector<double> optima) {
  SettingSummary s;
  s.instance = instance;
  s.setting = setting;
  s.runs = runs;
  s.runsReachingTarget = reached;
  if (runs > 0) s.targetRate = static_cast<double>(reached) / runs;
  s.optimaPerSuccessfulRun = std::move(optima);
  s.distinctOptimaPerRun = spreadOf(s.optimaPerSuccessfulRun);
  return s;
}

std::string pairName(const SettingComparison& pair) {
  return pair.a->instance + ":" + pair.a->setting + "-" + pair.b->setting;
}

}  // namespace

TEST(CampaignComparison, PairsOfEachInstanceAdjustedTogether) {
  // Instances interleaved, as a manifest holding an earlier plan lists them.
  const std::vector<SettingSummary> settings{
      settingOf("ft06", "small", 10, 10, {1, 2, 2, 3, 3, 3, 4, 5, 5, 6}),
      settingOf("la01", "small", 4, 0, {}), settingOf("ft06", "large", 10, 3, {1, 1, 2}),
      settingOf("ft06", "none", 0, 0, {}), settingOf("la01", "large", 4, 4, {7, 8, 9, 9})};
  const std::vector<SettingComparison> pairs = compareSettings(settings);
  std::vector<std::string> names;
  for (const SettingComparison& pair : pairs) names.push_back(pairName(pair));
  EXPECT_EQ(names, (std::vector<std::string>{"ft06:small-large", "ft06:small-none",
                                             "ft06:large-none", "la01:small-large"}));

  // 10 of 10 against 3 of 10: python3 (see campaign_comparison_statistics_test.cpp) gives
  // 0.0030959752321981426; Holm over ft06's one Fisher test that could be made leaves it as it is.
  const SettingComparison& first = pairs[0];
  EXPECT_NEAR(*first.fisherP, 0.0030959752321981426, 1e-13);
  EXPECT_NEAR(*first.fisherPHolm, *first.fisherP, 1e-15);
  EXPECT_TRUE(significant(first.fisherPHolm));
  EXPECT_NEAR(*first.rateDifference, 0.7, 1e-15) << "A's rate minus B's";
  // U of {1,2,2,3,3,3,4,5,5,6} against {1,1,2}: 1 + 2 x 2.5 + 3 x 3 + 3 + 2 x 3 + 3 = 27 of 30
  // pairs (by hand).
  EXPECT_NEAR(*first.probabilityOfSuperiority, 27.0 / 30, 1e-15);
  ASSERT_TRUE(first.mannWhitneyP);
  EXPECT_NEAR(*first.mannWhitneyPHolm, *first.mannWhitneyP, 1e-15);

  // A setting without runs is compared with nothing, and is no member of either family.
  for (const SettingComparison* pair : {&pairs[1], &pairs[2]}) {
    SCOPED_TRACE(pairName(*pair));
    EXPECT_FALSE(pair->fisherP);
    EXPECT_FALSE(pair->fisherPHolm);
    EXPECT_FALSE(pair->rateDifference);
    EXPECT_FALSE(pair->mannWhitneyP);
    EXPECT_FALSE(pair->probabilityOfSuperiority);
    EXPECT_FALSE(significant(pair->fisherPHolm));
  }

  // la01: 0 of 4 against 4 of 4 (python3: 2/70 = 0.028571...); no successful run of A, so no rank
  // test.
  const SettingComparison& la01 = pairs[3];
  EXPECT_NEAR(*la01.fisherP, 2.0 / 70, 1e-13);
  EXPECT_NEAR(*la01.rateDifference, -1, 1e-15);
  EXPECT_FALSE(la01.mannWhitneyP);
  EXPECT_FALSE(la01.mannWhitneyPHolm);
}

TEST(CampaignComparison, HolmRunsOverTheInstancesPairs) {
  // Three settings, three pairs of Fisher tests: the smallest p-value times three.
  const std::vector<SettingSummary> settings{
      settingOf("ft06", "a", 10, 10, {1}), settingOf("ft06", "b", 10, 3, {1}),
      settingOf("ft06", "c", 10, 9, {1}), settingOf("la01", "a", 10, 10, {1}),
      settingOf("la01", "b", 10, 3, {1})};
  const std::vector<SettingComparison> pairs = compareSettings(settings);
  ASSERT_EQ(pairs.size(), 4u);
  EXPECT_NEAR(*pairs[0].fisherPHolm, 3 * *pairs[0].fisherP, 1e-15);
  EXPECT_GE(*pairs[1].fisherPHolm, *pairs[0].fisherPHolm) << "monotone";
  EXPECT_NEAR(*pairs[3].fisherPHolm, *pairs[3].fisherP, 1e-15) << "la01 is a family of its own";
  EXPECT_DOUBLE_EQ(*pairs[0].mannWhitneyP, 1) << "every successful run found one optimum";
  EXPECT_DOUBLE_EQ(*pairs[0].probabilityOfSuperiority, 0.5);
}

TEST(CampaignComparison, CollectWritesThePagesFiguresAsJson) {
  const std::string source = campaignSource(kSmallCampaign);
  const std::string into = source + "out/";
  ASSERT_EQ(campaign("plan '" + source + "campaign.toml' --into '" + into + "'").status, 0);
  ASSERT_EQ(campaign("run '" + into + "'").status, 0);
  const Captured counted =
      shell("cd '" + into + "small' && " + JOBSHOP_PROGRAM + " optima --list optima.txt");
  ASSERT_EQ(counted.status, 0) << counted.err;

  const std::string json = source + "collected.json";
  const Captured collected = campaign("collect '" + into + "' --json '" + json + "'");
  ASSERT_EQ(collected.status, 0) << collected.err;
  EXPECT_EQ(collected.err,
            "wrote " + into + "campaign.html, " + into + "runs.csv and " + json + "\n");
  const CampaignAnalysis collection = collectCampaign(into, readManifest(into));
  EXPECT_EQ(collected.out, summaryTable(collection)) << "the table is as without --json";

  const nlohmann::json read = nlohmann::json::parse(readFile(json));
  ASSERT_EQ(read["instances"].size(), 2u);
  const nlohmann::json& small = read["instances"][0];
  EXPECT_EQ(small["instance"], "small");
  EXPECT_EQ(small["target"], 10);
  ASSERT_EQ(small["settings"].size(), 2u);
  // Two executions of two runs each: four runs, every one a sample of its own (numbered through
  // the setting, not per execution), each holding the instance's one optimal schedule.
  const nlohmann::json& n6 = small["settings"][0];
  EXPECT_EQ(n6["setting"], "N6");
  EXPECT_EQ(n6["runs"], 4);
  EXPECT_EQ(n6["runsReachingTarget"], 4);
  EXPECT_EQ(n6["targetRate"], 1.0);
  EXPECT_EQ(n6["distinctOptimaPerSuccessfulRun"], nlohmann::json({1, 1, 1, 1}));
  EXPECT_EQ(n6["distinctOptimaUnion"], 1);
  EXPECT_EQ(n6["estimatedMakespan"], 10);
  const nlohmann::json& estimates = n6["estimates"];
  EXPECT_EQ(estimates["observed"], 1);
  EXPECT_EQ(estimates["T"], 4);
  EXPECT_EQ(estimates["Q1"], 0);
  EXPECT_EQ(estimates["Q2"], 0);
  EXPECT_EQ(estimates["chao2"], 1.0) << "found by every run: nothing left unseen";
  EXPECT_EQ(estimates["lowerBoundOnly"], false) << "nothing found by one run only";
  for (const char* key : {"chao2Lower", "chao2Upper", "jackknife1", "jackknife2", "coverage"})
    EXPECT_TRUE(estimates[key].is_number()) << key;
  // The list of the complete enumeration holds that one schedule, and every run found it.
  EXPECT_EQ(n6["peakRatio"], 1.0);
  EXPECT_EQ(n6["successRate"], 1.0);
  // The other instance has no enumeration.
  const nlohmann::json& given = read["instances"][1]["settings"][0];
  EXPECT_TRUE(given["peakRatio"].is_null());
  EXPECT_TRUE(given["successRate"].is_null());
  EXPECT_EQ(given["estimates"]["T"], 4);

  ASSERT_EQ(read["comparisons"].size(), 2u) << "one pair per instance";
  const nlohmann::json expected = nlohmann::json::parse(R"({"instance": "small",
      "settingA": "N6", "settingB": "N8", "fisherP": 1.0, "fisherPHolm": 1.0,
      "mannWhitneyP": 1.0, "mannWhitneyPHolm": 1.0, "rateDifference": 0.0,
      "probabilityOfSuperiority": 0.5, "foundP": 1.0, "foundPHolm": 1.0,
      "foundSuperiority": 0.5})");
  const nlohmann::json& pair = read["comparisons"][0];
  for (const auto& [key, value] : expected.items()) EXPECT_EQ(pair[key], value) << key;
  // Every run of N6 has a higher dynamic F1 than every run of N8, so U = 16 of 4 x 4 and, by the
  // normal approximation with continuity correction, z = (16 - 8 - 0.5) / sqrt(4 * 4 * 9 / 12)
  // = 2.165, p = erfc(z / sqrt 2) = 0.030383 (python3's math.erfc); one pair, so Holm leaves it
  // alone.
  EXPECT_EQ(pair["dynamicF1Superiority"], 1.0);
  EXPECT_NEAR(pair["dynamicF1P"].get<double>(), 0.030383, 1e-6);
  EXPECT_EQ(pair["dynamicF1PHolm"], pair["dynamicF1P"]);
  EXPECT_EQ(read["comparisons"][1]["instance"], "given");
}

TEST(CampaignComparison, JsonOptionInHelpAndRefusals) {
  const Captured help = campaign("collect --help");
  EXPECT_NE(help.out.find("--json FILE"), std::string::npos) << help.out;
  const std::string source = campaignSource(kSmallCampaign);
  const std::string into = source + "out/";
  ASSERT_EQ(campaign("plan '" + source + "campaign.toml' --into '" + into + "'").status, 0);
  const Captured same = campaign("collect '" + into + "' --json '" + into + "runs.csv'");
  EXPECT_EQ(same.status, 2);
  EXPECT_EQ(same.err.substr(0, same.err.find('\n')),
            "jobshop-niching campaign: --csv and --json name the same file " + into + "runs.csv");
  const Captured input = campaign("collect '" + into + "' --json '" + into + "manifest.tsv'");
  EXPECT_EQ(input.status, 2);
  EXPECT_NE(input.err.find("collecting would write over its own input: " + into + "manifest.tsv"),
            std::string::npos)
      << input.err;
}

}  // namespace jobshop
