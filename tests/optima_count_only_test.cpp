// The optima command without a list, as a user runs it: the summary's exact count or lower bound,
// the estimate kept apart in optima.json, the checkpoint a stopped count leaves and --resume.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "optima_folders.h"
#include "program_runner.h"
#include "results/optima_file.h"
#include "sanitized_build.h"
#include "test_instances.h"

namespace jobshop {

namespace {

const char* const kFt06 = "/examples/ft06/D_Entrada.txt";
const char* const kLa02 = "/tests/data/benchmarks/la02.txt";
const char* const kLa01 = "/tests/data/benchmarks/la01.txt";

nlohmann::json optimaJson(const std::string& folder) {
  return nlohmann::json::parse(readFile(folder + "optima.json"));
}

Captured optima(const std::string& folder, const std::string& arguments) {
  return runProgramIn(folder, "optima --memory 16 " + arguments);
}

}  // namespace

TEST(CountOnlyCommand, ExactCountKeptApartFromTheEstimate) {
  const std::string folder = folderWith(kFt06);
  const Captured counted = optima(folder, "--bound 57 --estimate 300 --seed 7");
  ASSERT_EQ(counted.status, 0) << counted.err;
  // 575 schedules of makespan <= 57: the listing walk's count (exact_search_test).
  EXPECT_EQ(counted.out.substr(0, counted.out.find('\n')), "count 575");
  EXPECT_TRUE(hasLine(counted.out, "complete yes"));
  EXPECT_TRUE(hasLine(counted.out, "exact 575"));
  EXPECT_NE(counted.out.find("\nestimate "), std::string::npos);
  EXPECT_NE(counted.out.find(", 300 probes, seed 7)\n"), std::string::npos);

  const nlohmann::json json = optimaJson(folder);
  EXPECT_EQ(json["count"], 575);
  EXPECT_EQ(json["exact"], 575);
  EXPECT_FALSE(json.contains("lowerBound"));
  EXPECT_EQ(json["estimate"]["probes"], 300);
  EXPECT_EQ(json["estimate"]["seed"], 7);
  EXPECT_GT(json["estimate"]["value"].get<double>(), 0);
  const OptimaInFolder summary = loadOptimaSummary(folder);
  ASSERT_TRUE(summary) << summary.reason();
  ASSERT_TRUE(*summary);
  const EnumeratedOptima& read = **summary;
  EXPECT_EQ(read.count, 575);
  ASSERT_TRUE(read.estimate);
  EXPECT_EQ(read.estimate->probes, 300);
  EXPECT_FALSE(fileExists(folder + "optima-checkpoint.json"));
}

TEST(CountOnlyCommand, StoppedCountLeavesALowerBoundAndResumesToTheSameCount) {
  SKIP_WHEN_SANITIZED();
  const std::string whole = folderWith(kLa02);
  const Captured uninterrupted = optima(whole, "--bound 656 --threads 2");
  ASSERT_EQ(uninterrupted.status, 0) << uninterrupted.err;
  // 126,453 schedules of makespan <= 656: the listing walk's count (exact_count_test).
  ASSERT_TRUE(hasLine(uninterrupted.out, "exact 126453"));

  // Each subtree starts only while there is time, so a limit this short stops the count before
  // it is done, whatever the machine.
  const std::string folder = folderWith(kLa02);
  const Captured stopped = optima(folder, "--bound 656 --time-limit 0.000001 --threads 2");
  ASSERT_EQ(stopped.status, 0) << stopped.err;
  EXPECT_TRUE(hasLine(stopped.out, "complete no"));
  EXPECT_TRUE(hasLine(stopped.out, "time limit reached"));
  EXPECT_NE(stopped.out.find("\nlower bound "), std::string::npos);
  EXPECT_TRUE(hasLine(stopped.out, "checkpoint optima-checkpoint.json (go on with --resume)"));
  ASSERT_TRUE(fileExists(folder + "optima-checkpoint.json"));
  const nlohmann::json partial = optimaJson(folder);
  EXPECT_FALSE(partial.contains("exact"));
  EXPECT_EQ(partial["lowerBound"], partial["count"]);
  EXPECT_LT(partial["count"].get<std::int64_t>(), 126453);

  const Captured resumed = optima(folder, "--resume --threads 1");
  ASSERT_EQ(resumed.status, 0) << resumed.err;
  EXPECT_TRUE(hasLine(resumed.out, "exact 126453")) << resumed.out;
  EXPECT_TRUE(hasLine(resumed.out, "bound 656")) << "the bound is the checkpoint's";
  EXPECT_NE(resumed.out.find("\nresumed "), std::string::npos);
  EXPECT_FALSE(fileExists(folder + "optima-checkpoint.json")) << "a finished count removes it";
  EXPECT_EQ(optimaJson(folder)["exact"], 126453);
}

TEST(CountOnlyCommand, ResumeRefusesAMissingForeignOrBrokenCheckpoint) {
  const std::string folder = folderWith(kFt06);
  const Captured none = optima(folder, "--resume");
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("no checkpoint to resume from: cannot read "), std::string::npos)
      << none.err;

  ASSERT_EQ(optima(folder, "--bound 60 --time-limit 0.000001").status, 0);
  ASSERT_TRUE(fileExists(folder + "optima-checkpoint.json"));
  const Captured otherBound = optima(folder, "--resume --bound 61");
  EXPECT_EQ(otherBound.status, 1);
  EXPECT_NE(otherBound.err.find("it counts makespans <= 60, not <= 61"), std::string::npos)
      << otherBound.err;

  const std::string checkpoint = readFile(folder + "optima-checkpoint.json");
  writeFile(folder + "D_Entrada.txt", readFile(std::string(JOBSHOP_SOURCE_DIR) + kLa02));
  const Captured otherInstance = optima(folder, "--resume");
  EXPECT_EQ(otherInstance.status, 1);
  EXPECT_NE(otherInstance.err.find("it counts another D_Entrada.txt"), std::string::npos)
      << otherInstance.err;

  writeFile(folder + "D_Entrada.txt", readFile(std::string(JOBSHOP_SOURCE_DIR) + kFt06));
  for (const std::string& broken :
       {std::string("{"), std::string("[]"),
        checkpoint.substr(0, checkpoint.find("\"done\"")) + "\"done\":[[0,\"12x\"]]}",
        checkpoint.substr(0, checkpoint.find("\"done\"")) + "\"done\":[[0,\"1\"],[0,\"1\"]]}",
        checkpoint.substr(0, checkpoint.find("\"done\"")) + "\"done\":[[99999,\"1\"]]}"}) {
    writeFile(folder + "optima-checkpoint.json", broken);
    const Captured refused = optima(folder, "--resume");
    EXPECT_EQ(refused.status, 1) << broken;
    EXPECT_NE(refused.err.find("optima-checkpoint.json: "), std::string::npos) << refused.err;
  }
}

TEST(CountOnlyCommand, SignalStopsTheCountWithACheckpoint) {
  // la01 at its optimum takes many minutes; SIGINT after a second stops it. --foreground: without
  // it timeout also signals its own process group, so the program would get a second SIGINT,
  // which ends it at once by design.
  const std::string folder = folderWith(kLa01);
  const Captured stopped = runProgramIn(folder, "optima --memory 64 --threads 1 --bound 666",
                                        "timeout --foreground --preserve-status -s INT 1 ");
  EXPECT_EQ(stopped.status, 130) << stopped.err;
  EXPECT_TRUE(hasLine(stopped.out, "stopped by SIGINT")) << stopped.out;
  EXPECT_TRUE(hasLine(stopped.out, "complete no"));
  EXPECT_TRUE(fileExists(folder + "optima-checkpoint.json"));
  EXPECT_TRUE(optimaJson(folder).contains("lowerBound"));
}

TEST(CountOnlyCommand, OptionsThatDoNotGoTogetherAreRefused) {
  const std::string folder = folderWith(kFt06);
  for (const auto& [arguments, reason] : std::vector<std::pair<std::string, std::string>>{
           {"--resume --list x.txt", "--resume goes on with a count without --list"},
           {"--resume --optimum", "--resume goes on with a count without --list"},
           {"--memory 64 --limit 3", "--memory is for a count without --list or --limit"},
           {"--seed 3", "--seed is the seed of --estimate's probes"},
           {"--memory 8", "--memory needs a number of megabytes from 16"},
           {"--estimate 0", "--estimate needs a number of probes from 1"}}) {
    const Captured refused = runProgramIn(folder, "optima " + arguments);
    EXPECT_EQ(refused.status, 2) << arguments;
    EXPECT_NE(refused.err.find(reason), std::string::npos) << arguments << ": " << refused.err;
  }
  EXPECT_FALSE(fileExists(folder + "optima.json"));
}

}  // namespace jobshop
