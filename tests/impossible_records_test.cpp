// Records of executions.jsonl holding values no run could have written are refused like any other
// malformed line, with a problem that names the value, rather than wrapped or trusted.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "results/execution_log.h"
#include "results/execution_record.h"

namespace jobshop {

namespace {

using Json = nlohmann::ordered_json;

// A run of 1,000 evaluations at most (population 20): the target reached at generation 30 of 48.
Json possibleRecord() {
  ExecutionRecord record;
  record.version = "1.0";
  record.seed = 7;
  record.jobs = 6;
  record.machines = 6;
  record.targetMakespan = 55;
  record.instanceSha256 = std::string(64, 'a');
  record.parameters.populationSize = 20;
  record.parameters.maxEvaluations = 1000;
  record.parameters.runCount = 1;
  RunSummary run;
  run.run = 1;
  run.bestMakespan = 55.0f;
  run.generations = 48;
  run.evaluations = 1010;
  run.targetGeneration = 30;
  run.targetEvaluations = 640;
  run.distinctOptima = 2;
  run.seconds = 0.5;
  record.runs = {run};
  return Json::parse(executionRecordLine(record));
}

struct Reading {
  std::size_t executions = 0;
  std::vector<std::string> problems;
};

Reading read(const Json& record) {
  Reading reading;
  const ExecutionLog log = parseExecutionLog(record.dump() + "\n", reading.problems);
  reading.executions = log.executions.size();
  return reading;
}

Json with(const std::function<void(Json&)>& change) {
  Json record = possibleRecord();
  change(record);
  return record;
}

// The record is refused whole, with one problem on its line that names what is wrong.
void expectRefused(const Json& record, const std::string& named) {
  const Reading reading = read(record);
  EXPECT_EQ(reading.executions, 0u) << record.dump();
  ASSERT_EQ(reading.problems.size(), 1u) << record.dump();
  EXPECT_EQ(reading.problems[0].rfind("executions.jsonl:1: ", 0), 0u) << reading.problems[0];
  EXPECT_NE(reading.problems[0].find(named), std::string::npos) << reading.problems[0];
}

constexpr std::int64_t kIntMost = std::numeric_limits<int>::max();
constexpr std::int64_t kWideMost = std::numeric_limits<std::int64_t>::max();

}  // namespace

TEST(ImpossibleRecords, ThePossibleRecordIsRead) {
  const Reading reading = read(possibleRecord());
  EXPECT_EQ(reading.executions, 1u);
  EXPECT_TRUE(reading.problems.empty()) << reading.problems.front();
}

TEST(ImpossibleRecords, AnInstanceThatIsNoObjectIsRefused) {
  expectRefused(with([](Json& r) { r["instance"] = nullptr; }), "\"instance\" should be an object");
  expectRefused(with([](Json& r) { r["instance"] = "ft06"; }), "\"instance\" should be an object");
  expectRefused(with([](Json& r) { r["instance"]["sha256"] = 12; }), "\"sha256\"");
  expectRefused(with([](Json& r) { r["instance"]["jobs"] = kWideMost; }), "\"jobs\"");
}

TEST(ImpossibleRecords, GenerationsOutsideTheRunsCounterAreRefused) {
  expectRefused(with([](Json& r) { r["runs"][0]["generations"] = -1; }), "\"generations\"");
  // The generation counter is an int: 2^31 generations cannot have been counted.
  expectRefused(with([](Json& r) { r["runs"][0]["generations"] = kIntMost + 1; }),
                "\"generations\" cannot be 2147483648");
  expectRefused(with([](Json& r) { r["runs"][0]["generations"] = kWideMost; }),
                "\"generations\" cannot be 9223372036854775807");
}

TEST(ImpossibleRecords, ATargetOutsideTheRunIsRefused) {
  expectRefused(with([](Json& r) { r["runs"][0]["targetGeneration"] = -5; }),
                "\"targetGeneration\" cannot be -5");
  // Reached at generation 49 of a run of 48.
  expectRefused(with([](Json& r) { r["runs"][0]["targetGeneration"] = 49; }),
                "\"targetGeneration\" cannot be 49");
  expectRefused(with([](Json& r) { r["runs"][0]["targetEvaluations"] = -1; }),
                "\"targetEvaluations\" cannot be -1");
  // Reached after 1,011 evaluations of a run that spent 1,010.
  expectRefused(with([](Json& r) { r["runs"][0]["targetEvaluations"] = 1011; }),
                "\"targetEvaluations\" cannot be 1011");
  // Its last generation, and its last evaluation, are still possible.
  const Reading last = read(with([](Json& r) {
    r["runs"][0]["targetGeneration"] = 48;
    r["runs"][0]["targetEvaluations"] = 1010;
  }));
  EXPECT_EQ(last.executions, 1u);
}

TEST(ImpossibleRecords, EvaluationsBeyondTheBudgetAreRefused) {
  expectRefused(with([](Json& r) { r["runs"][0]["evaluations"] = -20; }), "\"evaluations\"");
  // The budget of 1,000 and two populations of 20 past it: 1,040 at most.
  expectRefused(with([](Json& r) { r["runs"][0]["evaluations"] = 1041; }),
                "\"evaluations\" cannot be 1041 with maxEvaluations 1000 and populationSize 20");
  expectRefused(with([](Json& r) { r["runs"][0]["evaluations"] = kWideMost; }),
                "\"evaluations\" cannot be 9223372036854775807");
  EXPECT_EQ(read(with([](Json& r) { r["runs"][0]["evaluations"] = 1040; })).executions, 1u);
}

TEST(ImpossibleRecords, OtherNegativeOrWrappingValuesAreRefused) {
  expectRefused(with([](Json& r) { r["runs"][0]["run"] = -1; }), "\"run\" cannot be -1");
  expectRefused(with([](Json& r) { r["runs"][0]["run"] = kIntMost + 1; }),
                "\"run\" cannot be 2147483648");
  expectRefused(with([](Json& r) { r["runs"][0]["seconds"] = -0.5; }),
                "\"seconds\" cannot be negative");
  expectRefused(with([](Json& r) { r["runs"][0]["traceOffset"] = -1; }), "\"traceOffset\"");
  expectRefused(with([](Json& r) {
                  for (const char* name : kResultFileNames) r["runs"][0]["offsets"][name] = 0;
                  r["runs"][0]["offsets"]["D_Sal_Soluciones.txt"] = -1;
                }),
                "D_Sal_Soluciones.txt");
}

}  // namespace jobshop
