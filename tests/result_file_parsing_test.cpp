// Reading the result files' lines: progress records must improve, numbers are written as the
// program writes them.
#include "results/result_file_parsing.h"

#include <gtest/gtest.h>

namespace jobshop {

TEST(ResultFileParsing, ProgressRecordsMustImproveAndNumbersNeedFractionDigits) {
  struct Case {
    std::string text;
    bool accepted;
  };
  const Case records[] = {
      {"10.0 0\n9.0 2\n7.5 3\n\n", true},  {"10.0 0\n10.0 3\n\n", false},  // the best did not fall
      {"10.0 0\n11.0 3\n\n", false},                                       // it rose
      {"10.0 0\n9.0 0\n\n", false},  // the generation did not rise
      {"10.0 0\n9.0 4\n8.0 2\n\n", false},
  };
  for (const Case& c : records) {
    std::vector<std::string> problems;
    const std::vector<ProgressRecord> parsed = parseProgressFile(c.text, problems);
    EXPECT_EQ(problems.empty(), c.accepted) << c.text;
    if (!c.accepted) {
      ASSERT_EQ(problems.size(), 1u) << c.text;
      EXPECT_NE(problems[0].find("generations should rise and makespans fall within a record"),
                std::string::npos)
          << problems[0];
    }
    EXPECT_EQ(parsed.size(), 1u) << "a faulty step still belongs to its record: " << c.text;
  }

  const Case numbers[] = {{"55.0", true}, {"55", true},    {"-3.25", true}, {"55.", false},
                          {".5", false},  {"5.5.", false}, {"-", false},    {"55.0.0", false},
                          {"1e3", false}, {"+5", false},   {"0x10", false}};
  for (const Case& c : numbers) {
    std::vector<std::string> problems;
    const std::vector<NumberLine> parsed =
        parseNumberLines(c.text + "\n", "D_Sal_Optimos.txt", false, problems);
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].value.has_value(), c.accepted) << c.text;
    EXPECT_EQ(problems.empty(), c.accepted) << c.text;
  }
  std::vector<std::string> problems;
  EXPECT_FALSE(parseNumberLines("12.\n", "D_Sal_NumOptimos.txt", true, problems)[0].value);
  EXPECT_FALSE(parseNumberLines("12.0\n", "D_Sal_NumOptimos.txt", true, problems)[0].value)
      << "a count is a whole number";
}

}  // namespace jobshop
