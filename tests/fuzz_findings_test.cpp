// What fuzzing the readers found, each pinned by the smallest input that showed it: the report's
// messages quote file text escaped and cut between whole characters, a record of runCount 0
// (which makes one run) reads back without a problem, and optima.json's refusals quote a field's
// value printably and its sizes stay those of an instance.
#include <gtest/gtest.h>

#include <string>

#include "input/instance_reader.h"
#include "input/line_reader.h"
#include "results/execution_log.h"
#include "results/optima_file.h"
#include "results/result_records.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// True when text holds only whole UTF-8 characters and no control byte.
bool printableUtf8(const std::string& text) {
  for (std::size_t p = 0; p < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[p]);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (lead < 0x20 || lead == 0x7F || (lead >= 0x80 && lead < 0xC2) || p + length > text.size())
      return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[p + k]) & 0xC0) != 0x80) return false;
    p += length;
  }
  return true;
}

ResultRecords recordsOf(const std::string& progress, const std::string& bests,
                        const std::optional<std::string>& log = std::nullopt) {
  ResultTexts texts;
  texts.files[0] = progress;
  texts.files[1] = bests;
  texts.files[2] = texts.files[3] = texts.files[4] = "";
  texts.executionLog = log;
  return parseResultRecords(texts, "", exampleInstance());
}

}  // namespace

TEST(FuzzFindings, ReportProblemsQuoteFileTextPrintably) {
  // 58 ASCII bytes, then a euro sign straddling the 60-byte cut, then a control byte.
  const std::string line = std::string(58, 'x') + "\xE2\x82\xAC" + "\x01";
  ResultRecords cut = recordsOf(line + "\n\n", "10.0\n");
  ASSERT_FALSE(cut.problems.empty());
  EXPECT_TRUE(printableUtf8(cut.problems[0])) << cut.problems[0];
  EXPECT_NE(cut.problems[0].find(std::string(58, 'x') + "...\""), std::string::npos)
      << "cut before the character that does not fit, not inside it: " << cut.problems[0];

  ResultRecords control = recordsOf("10.0 0\n\n", "10.0\x01\x1b[2J\n");
  ASSERT_FALSE(control.problems.empty());
  EXPECT_TRUE(printableUtf8(control.problems[0])) << control.problems[0];
  EXPECT_NE(control.problems[0].find("\"10.0\\x01\\x1b[2J\""), std::string::npos)
      << control.problems[0];

  // The JSON parser quotes the ill-formed byte it stopped at.
  ResultRecords json = recordsOf("10.0 0\n\n", "10.0\n", "{\"par\xC1meters\": 1}\n");
  ASSERT_FALSE(json.problems.empty());
  const std::string& refused = json.problems.back();
  EXPECT_EQ(refused.rfind("executions.jsonl:1: not a JSON object (", 0), 0u) << refused;
  EXPECT_TRUE(printableUtf8(refused)) << refused;
  EXPECT_NE(refused.find("\\xc1"), std::string::npos) << refused;
}

TEST(FuzzFindings, ARecordOfRunCountZeroHoldsItsOneRun) {
  std::vector<std::string> problems;
  const ExecutionLog one = parseExecutionLog(
      "{\"parameters\":{\"runCount\":0},\"runs\":[{\"run\":1}]}\n"
      "{\"parameters\":{\"runCount\":-3},\"runs\":[{\"run\":1}]}\n",
      problems);
  EXPECT_TRUE(problems.empty()) << problems[0];
  EXPECT_EQ(one.executions.size(), 2u);

  const ExecutionLog none =
      parseExecutionLog("{\"parameters\":{\"runCount\":0},\"runs\":[]}\n", problems);
  ASSERT_EQ(problems.size(), 1u) << "a run count of 0 still means one run, not none";
  EXPECT_EQ(problems[0], "executions.jsonl:1: runCount is 0 but \"runs\" holds 0");
  EXPECT_TRUE(none.brokenLine.has_value());
}

TEST(FuzzFindings, OptimaJsonRefusalsQuoteTheValuePrintably) {
  // A DEL inside a key of the value refused: JSON takes it raw, the message must not.
  const OrFailure<EnumeratedOptima> del =
      parseOptimaSummary("{\n  \"jobs\": { \"va\x7Flue\": 2110,\n    \"seed\": 1\n  }\n}\n", "o");
  ASSERT_FALSE(del);
  EXPECT_TRUE(printableUtf8(del.reason())) << del.reason();
  EXPECT_NE(del.reason().find("va\\x7flue"), std::string::npos) << del.reason();

  // A value longer than a message quotes, cut where a two-byte character would be split.
  std::string accents;
  for (int i = 0; i < 30; ++i) accents += "\xC3\xA9";  // é
  const OrFailure<EnumeratedOptima> cut =
      parseOptimaSummary("{\"jobs\": \"x" + accents + "\"}", "o");
  ASSERT_FALSE(cut);
  EXPECT_TRUE(printableUtf8(cut.reason())) << cut.reason();
  EXPECT_NE(cut.reason().find("...,"), std::string::npos) << cut.reason();
}

// jobs and machines up to the int maximum made the backbone's number of pairs, M * J * (J - 1) / 2,
// overflow (undefined behaviour, caught under the sanitizers) before the backbone was compared.
TEST(FuzzFindings, OptimaJsonSizesAreThoseOfAnInstance) {
  const OrFailure<EnumeratedOptima> read = parseOptimaSummary(
      R"({"jobs":2147483647,"machines":2147483647,"bound":1,"count":2,"complete":true,)"
      R"("backbone":{"pairs":0,"of":1,"share":0,"orders":[]}})",
      "o");
  ASSERT_FALSE(read);
  EXPECT_EQ(read.reason(), "o: \"jobs\" is 2147483647, not a whole number from 1 to 65535");
}

}  // namespace jobshop
