// What a campaign command refuses before it writes anything: names that would leave the campaign
// folder, plans too large to hold, instance files that are not bounded regular files, and outputs
// that are the command's own inputs; and outputs that are replaced whole or not at all.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "campaign_test_support.h"
#include "campaigns/campaign_file.h"
#include "input/input_error.h"
#include "test_instances.h"

namespace jobshop {

namespace fs = std::filesystem;

namespace {

std::string planned(const std::string& source) {
  const std::string into = source + "out/";
  const Captured plan = campaign("plan '" + source + "campaign.toml' --into '" + into + "'");
  EXPECT_EQ(plan.status, 0) << plan.err;
  return into;
}

std::string values(int count, int first) {
  std::string list = "[";
  for (int k = 0; k < count; ++k) list += (k > 0 ? ", " : "") + std::to_string(first + k);
  return list + "]";
}

}  // namespace

TEST(CampaignBounds, TheNameIsAPlainFolderName) {
  const std::string rule =
      "expected a campaign name of letters, digits, '-', '_' and '.' (not first), found ";
  for (const char* name : {"..", "../../x", "/tmp/x", "", ".hidden", "a b"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(readingRefusal("repetitions = 1\nname = \"" + std::string(name) +
                             "\"\n[instances]\na = \"D_Entrada.txt\"\n"),
              "campaign.toml:2: " + rule + "\"" + name + "\"");
  }
  // Nothing is planned into the parent folder.
  const std::string parent = campaignSource("");
  const std::string inner = parent + "inner/";
  fs::create_directory(inner);
  writeFile(inner + "D_Entrada.txt", kInputInstance);
  writeFile(inner + "campaign.toml", "name = \"..\"\n[instances]\na = \"D_Entrada.txt\"\n");
  const Captured refused =
      shell("cd '" + inner + "' && " + JOBSHOP_PROGRAM + " campaign plan campaign.toml");
  EXPECT_EQ(refused.status, 1);
  EXPECT_FALSE(fileExists(parent + "manifest.tsv"));
  EXPECT_FALSE(fs::exists(parent + "a"));
}

TEST(CampaignBounds, APlanOfMoreThanAMillionExecutionsIsRefusedUnexpanded) {
  EXPECT_EQ(readingRefusal("repetitions = 600000\n[instances]\na = \"D_Entrada.txt\"\n"
                           "b = \"D_Entrada.txt\"\n"),
            "campaign.toml:1: expected at most 1000000 executions, found 1200000 (2 instances × "
            "1 setting × 600000 repetitions)");
  EXPECT_EQ(readingRefusal("[instances]\na = \"D_Entrada.txt\"\n[parameters]\npopulationSize = " +
                           values(100, 100) + "\nmaxEvaluations = " + values(100, 1000) +
                           "\nmateCandidates = " + values(100, 1) +
                           "\ncrowdingGroups = " + values(100, 1) + "\n"),
            "campaign.toml:7: expected at most 1000000 executions, found 100000000 (1 instance × "
            "100000000 settings × 1 repetition)");
  // Beyond 64 bits, still counted exactly.
  const char* const fields[] = {"populationSize",   "maxEvaluations",   "runCount",
                                "crossoverPercent", "mutationPercent",  "mateCandidates",
                                "crowdingGroups",   "crowdingGroupSize"};
  std::string grid =
      "repetitions = 1000000\n[instances]\na = \"D_Entrada.txt\"\nb = \"x\"\n"
      "[parameters]\n";
  for (const char* field : fields) grid += std::string(field) + " = " + values(300, 1) + "\n";
  EXPECT_EQ(readingRefusal(grid),
            "campaign.toml:13: expected at most 1000000 executions, found "
            "131220000000000000000000000 (2 instances × 65610000000000000000 settings × 1000000 "
            "repetitions)");
  // A million exactly is the limit, not beyond it.
  EXPECT_EQ(readingRefusal("repetitions = 1000000\n[instances]\na = \"D_Entrada.txt\"\n"),
            "(not refused)");
}

TEST(CampaignBounds, InstancesAreBoundedRegularFiles) {
  const std::string source = campaignSource("");
  ASSERT_EQ(mkfifo((source + "pipe").c_str(), 0644), 0);
  fs::create_directory(source + "folder");
  {
    std::ofstream large(source + "large.txt");
    large << "2\n";
  }
  fs::resize_file(source + "large.txt", 16 * 1024 * 1024 + 1);
  const std::pair<const char*, const char*> cases[] = {
      {"pipe", "pipe, a named pipe, not a regular file"},
      {"/dev/zero", "/dev/zero, a character device, not a regular file"},
      {"folder", "folder, a folder, not a regular file"},
      {"large.txt",
       "large.txt, a file of 16777217 bytes, more than the 16777216 (16 MiB) a file may have "
       "here"}};
  for (const auto& [file, reason] : cases) {
    SCOPED_TRACE(file);
    writeFile(source + "campaign.toml", std::string("[instances]\nbig = \"") + file + "\"\n");
    // A pipe that blocked the plan would end at the timeout with 124.
    const Captured refused =
        shell("timeout 20 " + std::string(JOBSHOP_PROGRAM) + " campaign plan '" + source +
              "campaign.toml' --into '" + source + "out'");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(
        refused.err.find("campaign.toml:2: expected an instance big that can be read, found "),
        std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find(reason), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(source + "out"));
  }
  const Captured pipe =
      shell("timeout 20 " + std::string(JOBSHOP_PROGRAM) + " campaign plan '" + source + "pipe'");
  EXPECT_EQ(pipe.status, 1);
  EXPECT_NE(pipe.err.find("pipe: expected a readable campaign file, found a named pipe, not a "
                          "regular file"),
            std::string::npos)
      << pipe.err;
}

TEST(CampaignBounds, TheManifestIsWrittenBeforeAnyExecutionFolder) {
  const std::string source = campaignSource(kSmallCampaign);
  const Captured cut =
      shellWithFileSizeLimit(std::string(JOBSHOP_PROGRAM) + " campaign plan '" + source +
                                 "campaign.toml' --into '" + source + "out'",
                             200);
  EXPECT_EQ(cut.status, 1);
  EXPECT_NE(cut.err.find("cannot write " + source + "out/manifest.tsv: File too large"),
            std::string::npos)
      << cut.err;
  EXPECT_FALSE(fs::exists(source + "out/small"));
  EXPECT_EQ(fs::directory_iterator(source + "out"), fs::directory_iterator())
      << "nothing, not even a temporary file";
}

TEST(CampaignOutputs, AnOutputThatIsAnInputIsRefused) {
  const std::string source = campaignSource(kSmallCampaign);
  const std::string into = planned(source);
  ASSERT_EQ(campaign("run '" + into + "'").status, 0);
  const std::string manifest = readFile(into + "manifest.tsv");
  ASSERT_EQ(link((into + "manifest.tsv").c_str(), (source + "linked.csv").c_str()), 0);
  const std::string clashes[] = {
      "--csv '" + into + "manifest.tsv'",
      "--csv '" + source + "linked.csv'",
      "--html '" + into + "small/N6/1/D_Sal_Mejores.txt'",
      "--html '" + into + "campaign.toml'",
      "--html '" + source + "same' --csv '" + source + "same'",
      "--html '" + into + "campaign.html' --csv '" + into + "./campaign.html'"};
  for (const std::string& options : clashes) {
    SCOPED_TRACE(options);
    const Captured refused = campaign("collect '" + into + "' " + options);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("usage:"), std::string::npos) << refused.err;
  }
  EXPECT_EQ(readFile(into + "manifest.tsv"), manifest);
  EXPECT_NE(readFile(into + "small/N6/1/D_Sal_Mejores.txt"), "");

  // A plan whose instance is a file the plan writes.
  writeFile(source + "again.toml", "[instances]\nsmall = \"out/small/D_Entrada.txt\"\n");
  const Captured plan = campaign("plan '" + source + "again.toml' --into '" + into + "'");
  EXPECT_EQ(plan.status, 2);
  EXPECT_NE(plan.err.find("the plan would write over its own input: " + into +
                          "small/D_Entrada.txt is the input"),
            std::string::npos)
      << plan.err;
  // Planning again from the folder's own copy of the campaign file keeps that copy.
  const std::string absolute = "[instances]\nsmall = \"" + source + "D_Entrada.txt\"\n";
  const std::string elsewhere = source + "absolute/";
  fs::create_directory(elsewhere);
  writeFile(elsewhere + "campaign.toml", absolute);
  ASSERT_EQ(campaign("plan '" + elsewhere + "campaign.toml' --into '" + elsewhere + "'").status, 0);
  const Captured fromCopy =
      campaign("plan '" + elsewhere + "campaign.toml' --into '" + elsewhere + "'");
  EXPECT_EQ(fromCopy.status, 0) << fromCopy.err;
  EXPECT_EQ(readFile(elsewhere + "campaign.toml"), absolute);
}

TEST(CampaignOutputs, ACollectThatRunsOutOfRoomKeepsTheFilesItHad) {
  const std::string into = planned(campaignSource(kSmallCampaign));
  ASSERT_EQ(campaign("run '" + into + "'").status, 0);
  ASSERT_EQ(campaign("collect '" + into + "'").status, 0);
  const std::string page = readFile(into + "campaign.html");
  const std::string csv = readFile(into + "runs.csv");
  ASSERT_GT(csv.size(), 1024u);
  fs::remove(into + "given/N8/2/done");  // the new files would differ
  const Captured cut = shellWithFileSizeLimit(
      std::string(JOBSHOP_PROGRAM) + " campaign collect '" + into + "'", 1024);
  EXPECT_EQ(cut.status, 1);
  EXPECT_NE(cut.err.find("cannot write " + into + "campaign.html: File too large"),
            std::string::npos)
      << cut.err;
  EXPECT_EQ(readFile(into + "campaign.html"), page);
  EXPECT_EQ(readFile(into + "runs.csv"), csv);
  for (const auto& entry : fs::directory_iterator(into))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

}  // namespace jobshop
