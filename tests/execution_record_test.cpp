// The execution record: one JSON object per line, every field by name, appended whole.
#include "results/execution_record.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>

#include "results/file_digest.h"
#include "support/bounded_file.h"
#include "support/text_files.h"
#include "test_instances.h"

namespace jobshop {

namespace {

ExecutionRecord sampleRecord() {
  ExecutionRecord record;
  record.version = "9.8.7";
  record.commit = "0123456789abcdef0123456789abcdef01234567-dirty";
  record.started = 1796787498;  // 2026-12-09T03:38:18Z
  record.seed = 4294967295u;
  record.jobs = 6;
  record.machines = 5;
  record.targetMakespan = 55;
  record.instanceSha256 = sha256Hex("abc");
  record.parameters.populationSize = 100;
  record.parameters.crowdingGroupSize = 10;
  record.parameters.precedenceCrossoverEnabled = true;
  RunSummary reached{1,
                     55.0f,
                     198,
                     20012,
                     63,
                     6412,
                     12,
                     0.25,
                     false,
                     false,
                     std::array<std::int64_t, 5>{0, 0, 0, 0, 0},
                     52};
  RunSummary missed{2,   57.5f, 0,    100,          std::nullopt, std::nullopt, std::nullopt,
                    0.5, true,  true, std::nullopt, std::nullopt};
  record.runs = {reached, missed};
  record.exitStatus = 1;
  return record;
}

}  // namespace

TEST(ExecutionRecord, OneLineWithEveryFieldByName) {
  const std::string line = executionRecordLine(sampleRecord());
  ASSERT_EQ(line.back(), '\n');
  EXPECT_EQ(line.find('\n'), line.size() - 1) << "one record, one line";
  const nlohmann::json json = nlohmann::json::parse(line);
  EXPECT_EQ(json["program"], "jobshop-niching");
  EXPECT_EQ(json["version"], "9.8.7");
  EXPECT_EQ(json["commit"], "0123456789abcdef0123456789abcdef01234567-dirty");
  EXPECT_EQ(json["started"], "2026-12-09T03:38:18Z");
  EXPECT_EQ(json["seed"], 4294967295u) << "the whole unsigned 32-bit range";
  EXPECT_EQ(json["seedGiven"], false);
  EXPECT_EQ(json["wallClock"], false);
  EXPECT_EQ(json["instance"]["jobs"], 6);
  EXPECT_EQ(json["instance"]["machines"], 5);
  EXPECT_EQ(json["instance"]["target"], 55);
  EXPECT_EQ(json["instance"]["sha256"],
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(json["parameters"].size(), 19u);
  EXPECT_EQ(json["parameters"]["populationSize"], 100);
  EXPECT_EQ(json["parameters"]["crowdingGroupSize"], 10);
  EXPECT_EQ(json["parameters"]["precedenceCrossoverEnabled"], true);
  EXPECT_EQ(json["parameters"]["swapMutationEnabled"], false);
  ASSERT_EQ(json["runs"].size(), 2u);
  EXPECT_EQ(json["runs"][0]["run"], 1);
  EXPECT_EQ(json["runs"][0]["bestMakespan"], 55.0);
  EXPECT_EQ(json["runs"][0]["generations"], 198);
  EXPECT_EQ(json["runs"][0]["evaluations"], 20012);
  EXPECT_EQ(json["runs"][0]["targetGeneration"], 63);
  EXPECT_EQ(json["runs"][0]["targetEvaluations"], 6412);
  EXPECT_EQ(json["runs"][0]["distinctOptima"], 12);
  EXPECT_EQ(json["runs"][0]["seconds"], 0.25);
  EXPECT_EQ(json["runs"][1]["bestMakespan"], 57.5);
  EXPECT_TRUE(json["runs"][1]["targetGeneration"].is_null());
  EXPECT_TRUE(json["runs"][1]["targetEvaluations"].is_null());
  EXPECT_TRUE(json["runs"][1]["distinctOptima"].is_null());
  EXPECT_EQ(json["runs"][0]["traceOffset"], 52);
  ASSERT_TRUE(json["runs"][1].contains("traceOffset"));
  EXPECT_TRUE(json["runs"][1]["traceOffset"].is_null()) << "a run whose trace was not written";
  EXPECT_EQ(json["exitStatus"], 1);

  ExecutionRecord wall = sampleRecord();
  wall.seed.reset();
  wall.wallClock = true;
  const nlohmann::json literal = nlohmann::json::parse(executionRecordLine(wall));
  EXPECT_TRUE(literal["seed"].is_null()) << "no single seed under the calendar clock";
  EXPECT_EQ(literal["wallClock"], true);

  ExecutionRecord unversioned = sampleRecord();
  unversioned.commit.reset();
  const nlohmann::json copy = nlohmann::json::parse(executionRecordLine(unversioned));
  ASSERT_TRUE(copy.contains("commit"));
  EXPECT_TRUE(copy["commit"].is_null()) << "built outside a repository";
}

TEST(ExecutionRecord, TimesAndDigests) {
  EXPECT_EQ(isoUtc(0), "1970-01-01T00:00:00Z");
  EXPECT_EQ(isoUtc(951782400), "2000-02-29T00:00:00Z");
  EXPECT_EQ(sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  const std::string folder = makeTempFolder();
  writeFile(folder + "bytes", std::string("a\0b\r\n", 5));
  EXPECT_EQ(readWholeFile(folder + "bytes", kMaxMarkerFileBytes), std::string("a\0b\r\n", 5))
      << "bytes as they are";
  EXPECT_FALSE(readWholeFile(folder + "missing", kMaxMarkerFileBytes));
}

TEST(ExecutionRecord, AppendsWholeLinesAndReportsFailures) {
  const std::string folder = makeTempFolder();
  const std::string path = folder + kExecutionRecordFileName;
  EXPECT_FALSE(appendExecutionRecord(path, "{\"a\":1}\n"));
  EXPECT_FALSE(appendExecutionRecord(path, "{\"b\":2}\n"));
  EXPECT_EQ(readFile(path), "{\"a\":1}\n{\"b\":2}\n");
  // The reason is quoted in the message as it is, so it is the system's own words.
  const MaybeFailure missingFolder =
      appendExecutionRecord(folder + "no-such-folder/x.jsonl", "{}\n");
  ASSERT_TRUE(missingFolder);
  EXPECT_EQ(missingFolder->reason, std::strerror(ENOENT));
  ASSERT_EQ(symlink("/dev/full", (folder + "full.jsonl").c_str()), 0);
  const MaybeFailure fullDisk = appendExecutionRecord(folder + "full.jsonl", "{}\n");
  ASSERT_TRUE(fullDisk) << "a full disk";
  EXPECT_EQ(fullDisk->reason, std::strerror(ENOSPC));
}

}  // namespace jobshop
