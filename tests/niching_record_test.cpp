// The niching method in "executions.jsonl": written with its method's resolved settings only, read
// back, and part of what makes two executions the same.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "results/execution_log.h"
#include "results/execution_record.h"

namespace jobshop {

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

// A 6 x 5 instance (L = 30 cells) and a population of 16.
ExecutionRecord recordWith(const NichingSettings& niching) {
  ExecutionRecord record;
  record.version = "1.2.3";
  record.seed = 9;
  record.jobs = 6;
  record.machines = 5;
  record.instanceSha256 = "ab";
  record.parameters.populationSize = 16;
  record.parameters.runCount = 1;
  record.parameters.niching = niching;
  record.runs.resize(1);
  return record;
}

nlohmann::json nichingWritten(const NichingSettings& niching) {
  return nlohmann::json::parse(executionRecordLine(recordWith(niching)))["niching"];
}

LoggedExecution readBack(const std::string& line) {
  std::vector<std::string> problems;
  const ExecutionLog log = parseExecutionLog(line, problems);
  EXPECT_TRUE(problems.empty()) << problems.front();
  EXPECT_EQ(log.executions.size(), 1u);
  return log.executions.empty() ? LoggedExecution{} : log.executions.front();
}

std::string problemOf(const std::string& nichingJson) {
  std::string line = executionRecordLine(recordWith({}));
  const std::size_t at = line.find("\"niching\":");
  const std::size_t end = line.find('}', at) + 1;
  line.replace(at, end - at, "\"niching\":" + nichingJson);
  std::vector<std::string> problems;
  parseExecutionLog(line, problems);
  return problems.empty() ? "(read)" : problems.front();
}

}  // namespace

TEST(NichingRecord, OnlyTheMethodsOwnSettingsResolved) {
  EXPECT_EQ(nichingWritten({}), nlohmann::json::parse(R"({"method": "crowding"})"));
  EXPECT_EQ(nichingWritten(nichingOf(NichingMethod::none)),
            nlohmann::json::parse(R"({"method": "none"})"));
  // min(N = 16, 20) = 16, the window's default.
  EXPECT_EQ(nichingWritten(nichingOf(NichingMethod::restrictedTournament, {}, 5)),
            nlohmann::json::parse(R"({"method": "restricted-tournament", "windowSize": 16})"))
      << "another method's value is not written";
  // A tenth of L = 30, rounded: 3, the radii's default.
  EXPECT_EQ(nichingWritten(nichingOf(NichingMethod::clearing)),
            nlohmann::json::parse(
                R"({"method": "clearing", "clearingRadius": 3, "clearingCapacity": 1})"));
  EXPECT_EQ(
      nichingWritten(nichingOf(NichingMethod::sharing, {}, {}, 1, 7, 0.5)),
      nlohmann::json::parse(R"({"method": "sharing", "sharingRadius": 7, "sharingAlpha": 0.5})"));
}

TEST(NichingRecord, ReadBackWithAndWithoutTheKey) {
  const NichingSettings sharing = nichingOf(NichingMethod::sharing, {}, {}, 1, 7, 2.5);
  const LoggedExecution read = readBack(executionRecordLine(recordWith(sharing)));
  EXPECT_EQ(read.niching.method, NichingMethod::sharing);
  EXPECT_EQ(read.niching.sharingRadius, 7);
  EXPECT_EQ(read.niching.sharingAlpha, 2.5);

  const LoggedExecution window =
      readBack(executionRecordLine(recordWith(nichingOf(NichingMethod::restrictedTournament))));
  EXPECT_EQ(window.niching.windowSize, 16) << "the resolved default is what is read";

  std::string older = executionRecordLine(recordWith({}));
  const std::size_t at = older.find(",\"niching\":");
  older.erase(at, older.find('}', at) + 1 - at);
  ASSERT_EQ(older.find("\"niching\""), std::string::npos);
  EXPECT_EQ(readBack(older).niching.method, NichingMethod::crowding)
      << "records from before the key ran crowding";
}

TEST(NichingRecord, AMalformedNichingEndsTheReading) {
  EXPECT_EQ(problemOf("\"clearing\""), "executions.jsonl:1: \"niching\" should be an object");
  EXPECT_EQ(problemOf("{}"), "executions.jsonl:1: niching: no field \"method\"");
  EXPECT_EQ(problemOf(R"({"method": "clearnig"})"),
            "executions.jsonl:1: niching: \"method\" should name a niching method, not "
            "\"clearnig\"");
  EXPECT_EQ(problemOf(R"({"method": "clearing", "clearingRadius": "3"})"),
            "executions.jsonl:1: niching: \"clearingRadius\" should be a number, not \"3\"");
  EXPECT_EQ(problemOf(R"({"method": "clearing", "clearingRadius": 0})"),
            "executions.jsonl:1: niching: \"clearingRadius\" cannot be 0");
  EXPECT_EQ(problemOf(R"({"method": "sharing", "sharingAlpha": -1})"),
            "executions.jsonl:1: niching: \"sharingAlpha\" cannot be -1");
  EXPECT_EQ(problemOf(R"({"method": "crowding", "windowSize": 0})"), "(read)")
      << "another method's key is not looked at";
}

TEST(NichingRecord, ADifferentMethodOrSettingIsADifferentExecution) {
  const auto logged = [&](const NichingSettings& niching) {
    return readBack(executionRecordLine(recordWith(niching)));
  };
  const LoggedExecution crowding = logged({});
  const LoggedExecution clearing = logged(nichingOf(NichingMethod::clearing));
  const LoggedExecution wider = logged(nichingOf(NichingMethod::clearing, {}, 4));
  EXPECT_TRUE(repeats(crowding, logged({})));
  EXPECT_TRUE(repeats(clearing, logged(nichingOf(NichingMethod::clearing, {}, 3))))
      << "the default radius given explicitly runs the same";
  EXPECT_FALSE(repeats(clearing, crowding));
  EXPECT_FALSE(repeats(wider, clearing));
  EXPECT_FALSE(repeats(logged(nichingOf(NichingMethod::sharing, {}, {}, 1, {}, 2)),
                       logged(nichingOf(NichingMethod::sharing))));
}

}  // namespace jobshop
