// optima.json read back by type and range: a number beyond its field's range is refused naming the
// file and the field, never wrapped into one in range; the report sets aside an optima.json of
// another instance; and optima warns of a lenient read of its instance as the main run does.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "program_runner.h"
#include "results/optima_file.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// A complete count of an instance of 2 jobs and 2 machines, with the fields given replaced.
std::string optimaText(const std::string& jobs, const std::string& bound,
                       const std::string& count) {
  return R"({"jobs":)" + jobs + R"(,"machines":2,"bound":)" + bound + R"(,"count":)" + count +
         R"(,"complete":true,"optimal":false})";
}

}  // namespace

TEST(OptimaJsonRange, ANumberOutOfItsRangeIsRefusedByFileAndField) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {optimaText("4294967302", "4", "2"), "\"jobs\" is 4294967302"},         // 2^32 + 6
      {optimaText("2", "1099511627776", "2"), "\"bound\" is 1099511627776"},  // 2^40
      {optimaText("-2", "4", "2"), "\"jobs\" is -2"},
      {optimaText("2", "4.5", "2"), "\"bound\" is 4.5"},
      {optimaText("2", "\"4\"", "2"), "\"bound\" is \"4\""},
      {optimaText("2", "4", "-1"), "\"count\" is -1"},
      {optimaText("2", "4", "2.5"), "\"count\" is 2.5"},
  };
  for (const auto& [text, field] : cases) {
    const std::string folder = makeTempFolder();
    writeFile(folder + "optima.json", text);
    const OptimaInFolder read = loadOptimaSummary(folder);
    ASSERT_FALSE(read) << text;
    EXPECT_NE(read.reason().find(folder + "optima.json: "), std::string::npos) << read.reason();
    EXPECT_NE(read.reason().find(field), std::string::npos) << read.reason();
    EXPECT_EQ(readFile(folder + "optima.json"), text) << "the input is left as it was";
  }
}

TEST(OptimaJsonRange, TheLargestNumbersInRangeStillRead) {
  const std::string folder = makeTempFolder();
  writeFile(folder + "optima.json", optimaText("2", "2147483647", "9223372036854775807"));
  const OptimaInFolder read = loadOptimaSummary(folder);
  ASSERT_TRUE(read) << read.reason();
  ASSERT_TRUE(*read);
  EXPECT_EQ((*read)->bound, 2147483647);
  EXPECT_EQ((*read)->count, 9223372036854775807);
}

// Fields whose value is of the right type but cannot be what the program wrote: each is refused,
// the field named, rather than read into a count or a backbone that would mislead the report.
TEST(OptimaJsonRange, FieldsThatContradictTheCountAreRefusedByName) {
  // A complete count of 2 schedules of 3 jobs on 2 machines: 6 pairs, by hand 2 * 3 * 2 / 2.
  const std::string head = R"({"jobs":3,"machines":2,"bound":10,"count":2,"complete":true)";
  const std::string backbone =
      R"(,"backbone":{"pairs":1,"of":6,"share":0.16666666666666666,"orders":[[1,1,2]]})";
  const std::string sample =
      R"("standardError":1.0,"level":0.95,"sampled":1,"unsettled":2,"settled":1,"subtrees":4,)"
      R"("seed":1})";
  const std::vector<std::pair<std::string, std::string>> cases{
      {head + R"(,"instanceSha256":"abc"})", "\"instanceSha256\" is not 64 lower-case hex"},
      {head + R"(,"lowerBound":2})", "\"lowerBound\" in a count complete"},
      {head + R"(,"exact":3})", "\"exact\" is not \"count\""},
      {R"({"jobs":3,"machines":2,"bound":10,"count":2,"complete":false,"exact":2})",
       "\"exact\" in a count not complete"},
      {head + R"(,"estimate":{"value":-1.0,"standardError":1.0,"probes":5,"seed":1}})",
       "\"value\" is negative"},
      {head + R"(,"sampleEstimate":{"value":5.0,"low":6.0,"high":4.0,)" + sample + "}",
       "\"high\" is below \"low\""},
      {head + R"(,"sampleEstimate":{"value":5.0,"standardError":1.0,"low":4.0,"high":6.0,)"
              R"("level":95,"sampled":1,"unsettled":2,"settled":1,"subtrees":4,"seed":1}})",
       "\"level\" is not a probability"},
      {R"({"jobs":65536,"machines":1,"bound":10,"count":2,"complete":true})",
       "\"jobs\" is 65536, not a whole number from 1 to 65535"},
      // 16,777,216 operations at most: 65,535 jobs leave room for 256 machines, by hand.
      {R"({"jobs":65535,"machines":257,"bound":10,"count":2,"complete":true})",
       "\"machines\" is 257, not a whole number from 1 to 256"},
      {R"({"jobs":3,"machines":2,"bound":10,"count":2,"complete":false)" + backbone + "}",
       "\"backbone\": a count not complete has none"},
      {head + R"(,"backbone":{"pairs":1,"of":6,"share":0.5,"orders":[[1,1,2]]}})",
       "\"backbone\": its share is not its pairs of all"},
      {head + R"(,"backbone":{"pairs":2,"of":6,"share":0.3333333333333333,)"
              R"("orders":[[2,1,2],[1,1,2]]}})",
       "\"backbone\": its orders are not machine by machine"},
      {R"({"jobs":3,"machines":2,"bound":10,"count":0,"complete":true)" + backbone + "}",
       "\"backbone\": no schedule orders no pair"},
      {R"({"jobs":3,"machines":2,"bound":10,"count":1,"complete":true)" + backbone + "}",
       "\"backbone\": one schedule orders every pair"},
  };
  for (const auto& [text, reason] : cases) {
    const OrFailure<EnumeratedOptima> read = parseOptimaSummary(text, "DIR/optima.json");
    ASSERT_FALSE(read) << text;
    EXPECT_EQ(read.reason().rfind("DIR/optima.json: ", 0), 0u) << read.reason();
    EXPECT_NE(read.reason().find(reason), std::string::npos) << read.reason();
  }
  // The same with the fields in agreement reads.
  const std::string whole =
      head + R"(,"exact":2,"instanceSha256":")" + std::string(64, 'a') + "\"" + backbone + "}";
  const OrFailure<EnumeratedOptima> read = parseOptimaSummary(whole, "DIR/optima.json");
  ASSERT_TRUE(read) << read.reason();
  ASSERT_TRUE(read->backbone);
  EXPECT_EQ(read->backbone->pairs(), 1);
}

TEST(OptimaJsonRange, TheReportSetsAsideACountOfAnotherInstance) {
  const std::string folder = makeTempFolder();
  const std::string instance = "2\n2\n4\n1 1\n1 1\n1 2\n2 1\n";
  writeFile(folder + "D_Entrada.txt", instance);
  ASSERT_EQ(runProgramIn(folder, "optima").status, 0);
  // The same size, another time: the digest differs, the size does not.
  const std::string other = "2\n2\n4\n1 2\n1 1\n1 2\n2 1\n";
  writeFile(folder + "D_Entrada.txt", other);
  const std::string json = readFile(folder + "optima.json");
  const Captured report = runProgramIn(folder, "report");
  EXPECT_EQ(report.status, 1) << report.err;
  EXPECT_NE(report.err.find("optima.json counts the schedules of another D_Entrada.txt"),
            std::string::npos)
      << report.err;
  EXPECT_EQ(readFile(folder + "optima.json"), json);
  EXPECT_EQ(readFile(folder + "D_Entrada.txt"), other);
}

TEST(OptimaJsonRange, OptimaWarnsOfALenientReadOfItsInstance) {
  const std::string folder = makeTempFolder();
  const std::string instance = "2\n2\n4.5\n1 1\n1 1\n1 2\n2 1\n";
  writeFile(folder + "D_Entrada.txt", instance);
  const Captured counted = runProgramIn(folder, "optima");
  EXPECT_EQ(counted.status, 0) << counted.err;
  EXPECT_NE(counted.err.find("D_Entrada.txt, línea 3: \"4.5\""), std::string::npos) << counted.err;
  EXPECT_EQ(readFile(folder + "D_Entrada.txt"), instance);
}

}  // namespace jobshop
