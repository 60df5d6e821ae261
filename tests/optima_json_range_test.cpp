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
