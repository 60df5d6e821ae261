// The niching method in campaigns: the grid with methods and their settings, the manifest, the
// launch of an execution, and a campaign of two methods planned, run and collected on ft06.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "campaign_test_support.h"
#include "campaigns/campaign_file.h"
#include "campaigns/campaign_plan.h"
#include "campaigns/execution_launch.h"
#include "campaigns/execution_state.h"
#include "campaigns/manifest.h"
#include "input/input_error.h"
#include "input/line_reader.h"
#include "test_instances.h"

namespace jobshop {

namespace fs = std::filesystem;

namespace {

// The settings of method with the given values set, the others at their defaults.
NichingSettings nichingOf(NichingMethod method, std::optional<int> windowSize = {},
                          std::optional<int> clearingRadius = {}, int clearingCapacity = 1,
                          std::optional<int> sharingRadius = {}, double sharingAlpha = 1.0) {
  NichingSettings settings;
  settings.method = method;
  settings.windowSize = windowSize;
  settings.clearingRadius = clearingRadius;
  settings.clearingCapacity = clearingCapacity;
  settings.sharingRadius = sharingRadius;
  settings.sharingAlpha = sharingAlpha;
  return settings;
}

std::string withParameters(const std::string& lines) {
  return "name = \"m\"\n[instances]\nsmall = \"D_Entrada.txt\"\n[parameters]\n"
         "populationSize = 8\ncrowdingGroups = 2\ncrowdingGroupSize = 3\n" +
         lines;
}

std::vector<PlannedExecution> planned(const std::string& lines) {
  return planCampaign(readCampaignFile(campaignSource(withParameters(lines)) + "campaign.toml"));
}

std::vector<std::string> settings(const std::vector<PlannedExecution>& plan) {
  std::vector<std::string> names;
  for (const PlannedExecution& e : plan) names.push_back(e.setting);
  return names;
}

}  // namespace

TEST(NichingCampaignPlan, SettingsOfOtherMethodsCollapse) {
  const std::vector<PlannedExecution> plan =
      planned("niching = [\"crowding\", \"clearing\"]\nclearingRadius = [2, 4]\n");
  EXPECT_EQ(settings(plan), (std::vector<std::string>{"crowding", "clearing-CR2", "clearing-CR4"}))
      << "crowding takes no radius: its two settings are one";
  EXPECT_EQ(plan[0].parameters.niching.method, NichingMethod::crowding);
  EXPECT_FALSE(plan[0].parameters.niching.clearingRadius);
  EXPECT_EQ(plan[2].parameters.niching.method, NichingMethod::clearing);
  EXPECT_EQ(plan[2].parameters.niching.clearingRadius, 4);
  EXPECT_EQ(plan[2].folder, "small/clearing-CR4/1");

  // Three methods, two of them with an axis each, crossed with a field of the file.
  EXPECT_EQ(settings(planned("mateCandidates = [2, 3]\nniching = [\"none\", \"sharing\", "
                             "\"restricted-tournament\"]\nwindowSize = [4, 8]\n"
                             "sharingAlpha = [0.5, 2]\n")),
            (std::vector<std::string>{
                "none-MC2", "sharing-MC2-SA0.5", "sharing-MC2-SA2", "restricted-tournament-MC2-W4",
                "restricted-tournament-MC2-W8", "none-MC3", "sharing-MC3-SA0.5", "sharing-MC3-SA2",
                "restricted-tournament-MC3-W4", "restricted-tournament-MC3-W8"}));
  // One method, not an axis: its settings name the folders, the method does not.
  const std::vector<PlannedExecution> one =
      planned("niching = \"clearing\"\nclearingCapacity = 2\nclearingRadius = [1, 3]\n");
  EXPECT_EQ(settings(one), (std::vector<std::string>{"CR1", "CR3"}));
  EXPECT_EQ(one[0].parameters.niching.clearingCapacity, 2);
  EXPECT_EQ(settings(planned("niching = \"none\"\n")), std::vector<std::string>{"default"});
}

TEST(NichingCampaignPlan, RefusalsNameTheKeyAndItsMethod) {
  EXPECT_EQ(planningRefusal(withParameters("windowSize = 4\n")),
            "campaign.toml:8: expected windowSize only with niching \"restricted-tournament\", "
            "the one method it applies to, found niching crowding");
  EXPECT_EQ(planningRefusal(withParameters("niching = [\"none\", \"sharing\"]\nclearingRadius = "
                                           "[1, 2]\n")),
            "campaign.toml:9: expected clearingRadius only with niching \"clearing\", the one "
            "method it applies to, found niching none, sharing");
  EXPECT_EQ(planningRefusal(withParameters("niching = \"clearnig\"\n")),
            "campaign.toml:8: expected a niching method (crowding, deterministic-crowding, "
            "restricted-tournament, clearing, sharing, none) for niching, found the string "
            "\"clearnig\" (did you mean clearing?)");
  EXPECT_EQ(planningRefusal(withParameters("niching = [\"none\", \"none\"]\n")),
            "campaign.toml:8: expected distinct values for niching, found none twice");
  EXPECT_EQ(planningRefusal(withParameters("niching = []\n")),
            "campaign.toml:8: expected at least one value for niching, found an empty list");
  EXPECT_EQ(planningRefusal(withParameters("niching = \"clearing\"\nclearingRadius = 0\n")),
            "campaign.toml:9: expected a whole number from 1 for clearingRadius, found the "
            "integer 0");
  EXPECT_EQ(planningRefusal(withParameters("niching = \"clearing\"\nclearingRadius = 1.5\n")),
            "campaign.toml:9: expected a whole number from 1 for clearingRadius, found a "
            "floating-point number");
  EXPECT_EQ(planningRefusal(withParameters("niching = \"sharing\"\nsharingAlpha = [1, -2]\n")),
            "campaign.toml:9: expected a finite number above 0 for sharingAlpha, found the "
            "integer -2");
  EXPECT_EQ(planningRefusal(withParameters("niching = \"sharing\"\nsharingAlpha = nan\n")),
            "campaign.toml:9: expected a finite number above 0 for sharingAlpha, found a "
            "floating-point number");
  EXPECT_EQ(planningRefusal(withParameters("niching = [\"restricted-tournament\"]\n"
                                           "windowSize = [8, 9]\n")),
            "campaign.toml:9: expected settings that can run, found setting "
            "restricted-tournament-W9: windowSize 9 is larger than the population "
            "(populationSize 8)");
  EXPECT_NE(planningRefusal(withParameters("windowSise = 4\n"))
                .find("(did you mean windowSize?); the fields are populationSize"),
            std::string::npos);
}

TEST(NichingCampaignPlan, ManifestRoundTripNewAndOld) {
  const std::vector<PlannedExecution> plan = planned(
      "niching = [\"crowding\", \"clearing\", \"sharing\"]\nclearingRadius = 2\n"
      "sharingAlpha = [0.25, 3]\n");
  const std::string text = formatManifest(plan);
  const std::vector<std::string> lines = splitLines(text);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_NE(lines[0].find("\tcrowdingGroupSize\tniching\twindowSize\tclearingRadius\t"
                          "clearingCapacity\tsharingRadius\tsharingAlpha"),
            std::string::npos);
  EXPECT_TRUE(lines[1].ends_with("\tcrowding\t\t\t\t\t")) << lines[1];
  EXPECT_TRUE(lines[2].ends_with("\tclearing\t\t2\t\t\t")) << lines[2];
  EXPECT_TRUE(lines[3].ends_with("\tsharing\t\t\t\t\t0.25")) << lines[3];
  const std::vector<PlannedExecution> read = parseManifestLines(lines, "manifest.tsv");
  ASSERT_EQ(read.size(), plan.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].setting, plan[i].setting);
    EXPECT_TRUE(sameNiching(read[i].parameters.niching, plan[i].parameters.niching)) << i;
  }
  EXPECT_EQ(read[3].parameters.niching.sharingAlpha, 3.0);

  // A manifest from before the niching columns: every execution ran crowding.
  const std::size_t cut = lines[0].find("\tniching");
  std::vector<std::string> old{lines[0].substr(0, cut)};
  old.push_back(lines[1].substr(0, lines[1].rfind("\tcrowding")));
  const std::vector<PlannedExecution> older = parseManifestLines(old, "manifest.tsv");
  ASSERT_EQ(older.size(), 1u);
  EXPECT_EQ(older[0].parameters.niching.method, NichingMethod::crowding);

  std::vector<std::string> wrong = lines;
  wrong[2] = wrong[2].substr(0, wrong[2].rfind("\tclearing")) + "\tclearing\t3\t\t\t\t";
  EXPECT_THROW(parseManifestLines(wrong, "manifest.tsv"), InputError)
      << "a window size for clearing";
  wrong[2] = old[1];
  EXPECT_THROW(parseManifestLines(wrong, "manifest.tsv"), InputError)
      << "a row without the header's niching columns";
}

TEST(NichingCampaignPlan, TheLaunchPassesTheMethodAndItsGivenSettings) {
  PlannedExecution e;
  e.seed = 41;
  EXPECT_EQ(
      launchArguments("prog", "dir/", e),
      (std::vector<std::string>{"prog", "--dir", "dir/", "--seed", "41", "--quiet", "--record"}))
      << "crowding launches as before";
  e.parameters.niching = nichingOf(NichingMethod::clearing, {}, 3);
  EXPECT_EQ(
      launchArguments("prog", "dir/", e),
      (std::vector<std::string>{"prog", "--dir", "dir/", "--seed", "41", "--quiet", "--record",
                                "--niching", "clearing", "--clearing-radius", "3"}));
  e.parameters.niching = nichingOf(NichingMethod::sharing, {}, {}, 1, {}, 0.5);
  EXPECT_EQ(
      launchArguments("prog", "dir/", e),
      (std::vector<std::string>{"prog", "--dir", "dir/", "--seed", "41", "--quiet", "--record",
                                "--niching", "sharing", "--sharing-alpha", "0.5"}));
}

TEST(NichingCampaignRun, TwoMethodsPlannedRunAndCollectedOnFt06) {
  const std::string source = campaignSource(R"(name = "methods"
repetitions = 1
base_seed = 7
[instances]
ft06 = "ft06.txt"
[parameters]
populationSize = 20
maxEvaluations = 100
runCount = 1
crowdingGroups = 2
niching = ["crowding", "none"]
)");
  fs::copy(std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/D_Entrada.txt", source + "ft06.txt");
  const std::string into = source + "out/";
  const Captured plan = campaign("plan '" + source + "campaign.toml' --into '" + into + "'");
  ASSERT_EQ(plan.status, 0) << plan.err << plan.out;
  EXPECT_FALSE(fs::exists(into + "ft06/crowding/1/niching")) << "crowding runs as before";
  EXPECT_EQ(readFile(into + "ft06/none/1/niching"), "--niching none\n");
  const Captured again = campaign("plan '" + source + "campaign.toml' --into '" + into + "'");
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(formatManifest(readManifest(into)), readFile(into + "manifest.tsv"));

  const Captured ran = campaign("run '" + into + "' --jobs 2");
  ASSERT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out, "2 executions run, 0 already done, 0 failed (2 planned)\n");
  for (const char* method : {"crowding", "none"}) {
    SCOPED_TRACE(method);
    const std::string folder = into + "ft06/" + method + "/1/";
    EXPECT_EQ(executionState(folder), ExecutionState::kDone);
    const nlohmann::json record = nlohmann::json::parse(readFile(folder + "executions.jsonl"));
    EXPECT_EQ(record["niching"]["method"], method) << "the option reached the execution";
  }

  const Captured collected = campaign("collect '" + into + "' --json '" + into + "c.json'");
  ASSERT_EQ(collected.status, 0) << collected.err;
  const std::vector<std::string> rows = splitLines(readFile(into + "runs.csv"));
  ASSERT_EQ(rows.size(), 3u);
  // The method and its five settings (none of which these methods take), then the measures.
  EXPECT_NE(rows[0].find(",niching,windowSize,clearingRadius,clearingCapacity,"
                         "sharingRadius,sharingAlpha,held,"),
            std::string::npos)
      << rows[0];
  EXPECT_NE(rows[1].find(",crowding,,,,,,"), std::string::npos) << rows[1];
  EXPECT_NE(rows[2].find(",none,,,,,,"), std::string::npos) << rows[2];
  const nlohmann::json json = nlohmann::json::parse(readFile(into + "c.json"));
  for (const char* setting : {"\"crowding\"", "\"none\""})
    EXPECT_NE(json.dump().find(setting), std::string::npos) << setting;
}

TEST(NichingCampaignRun, AStartedExecutionKeepsItsMethod) {
  const std::string source = campaignSource(withParameters("niching = \"none\"\n"));
  const std::string into = source + "out/";
  const std::string plan = "plan '" + source + "campaign.toml' --into '" + into + "'";
  ASSERT_EQ(campaign(plan).status, 0);
  writeFile(into + "small/default/1/stdout.txt", "2\n");
  writeFile(source + "campaign.toml", withParameters("niching = \"sharing\"\n"));
  const Captured refused = campaign(plan);
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("small/default/1 started with other inputs"), std::string::npos)
      << refused.err;
  EXPECT_EQ(readFile(into + "small/default/1/niching"), "--niching none\n");

  // Not started, it takes the new method; back to crowding, its options go.
  fs::remove(into + "small/default/1/stdout.txt");
  ASSERT_EQ(campaign(plan).status, 0);
  EXPECT_EQ(readFile(into + "small/default/1/niching"), "--niching sharing\n");
  writeFile(source + "campaign.toml", withParameters(""));
  ASSERT_EQ(campaign(plan).status, 0);
  EXPECT_FALSE(fs::exists(into + "small/default/1/niching"));
  EXPECT_EQ(readManifest(into)[0].parameters.niching.method, NichingMethod::crowding);
}

TEST(NichingCampaignRun, AClusterTaskPassesTheMethodToo) {
  const std::string source =
      campaignSource(withParameters("maxEvaluations = 40\nrunCount = 1\nniching = \"clearing\"\n"
                                    "clearingRadius = 2\n"));
  const std::string into = source + "out/";
  ASSERT_EQ(campaign("plan '" + source + "campaign.toml' --into '" + into + "'").status, 0);
  const Captured written = campaign("slurm '" + into + "'");
  ASSERT_EQ(written.status, 0) << written.err;
  const Captured task =
      campaign("run-one '" + into + "' --task 0 --tasks '" + into + "slurm/tasks-1.tsv'");
  ASSERT_EQ(task.status, 0) << task.err;
  const nlohmann::json record =
      nlohmann::json::parse(readFile(into + "small/default/1/executions.jsonl"));
  EXPECT_EQ(record["niching"], nlohmann::json::parse(R"({"method": "clearing", "clearingRadius":
            2, "clearingCapacity": 1})"));
}

}  // namespace jobshop
