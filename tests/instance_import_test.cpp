// Parsing of published instances in both formats, the classic lower bound, the "D_Entrada.txt"
// text, and the refusals of malformed files.
#include "input/instance_import.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "input/input_error.h"
#include "input/instance_reader.h"
#include "input/instance_text.h"
#include "input/lower_bound.h"
#include "refusal_expect.h"
#include "support/text_files.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// Job 1 visits machines 1, 2, 3 for 3, 2, 4; job 2 visits 3, 1, 2 for 1, 2, 5.
const char* const kExampleFile = "2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n";

Instance instanceOf(const std::string& text) { return parseInstanceText(text, "in.txt").instance; }

void expectSameInstance(const Instance& actual, const Instance& expected) {
  EXPECT_EQ(actual.jobs, expected.jobs);
  EXPECT_EQ(actual.machines, expected.machines);
  EXPECT_EQ(actual.targetMakespan, expected.targetMakespan);
  EXPECT_EQ(actual.times, expected.times);
  EXPECT_EQ(actual.routing, expected.routing);
}

}  // namespace

TEST(InstanceImport, StandardFormatStoresTimesInMachineOrder) {
  const std::string text =
      "\xEF\xBB\xBF# two jobs, three machines\n"
      "\n"
      "  # an indented comment\r\n"
      "2 3\r\n"
      "0 3\t1 2 2 4\n"
      "# between the jobs\n"
      "2 1 0 2 1 5";  // no line feed at the end
  EXPECT_EQ(detectInstanceFormat(text), InstanceFormat::kStandard);
  EXPECT_EQ(parseInstanceText(text, "in.txt").upperBound, std::nullopt);
  Instance instance = instanceOf(text);
  expectSameInstance(instance, makeInstance(2, 3, {3, 2, 4, 2, 5, 1}, {1, 2, 3, 3, 1, 2}, 9));
  instance.targetMakespan = 10;
  EXPECT_EQ(formatInstanceFile(instance), kExampleFile);
}

// The program's own file, told by the single number on its first line: read as the main run reads
// it, its target kept, and refused in the main run's words.
TEST(InstanceImport, DEntradaFileIsReadAsTheInstanceReaderReadsIt) {
  EXPECT_EQ(detectInstanceFormat(kExampleFile), InstanceFormat::kInputFile);
  EXPECT_EQ(detectInstanceFormat("# a comment first\n2\n3\n"), InstanceFormat::kInputFile);
  const ImportedInstance imported = parseInstanceText(kExampleFile, "/some/where/D_Entrada.txt");
  EXPECT_TRUE(imported.ownTarget);
  EXPECT_EQ(imported.upperBound, std::nullopt);
  expectSameInstance(imported.instance, parseInstanceLines(splitLines(kExampleFile), "in.txt"));
  EXPECT_EQ(formatInstanceFile(imported.instance), kExampleFile);
  EXPECT_REFUSAL(
      parseInstanceText("2\n0 3 1 2 2 4\n", "/some/where/D_Entrada.txt"),
      "D_Entrada.txt, línea 2: el número de máquinas debe ser al menos 1, se encontró 0");
}

TEST(InstanceImport, TaillardFormatWithCaptionAndExtraHeaderNumbers) {
  const std::string text =
      "Nb of jobs, Nb of Machines, Time seed, Machine seed, Upper bound, Lower bound\n"
      "           2           3   840612802   398197754          10           9\n"
      "Times\n"
      " 3  2  4\n"
      " 1  2  5\n"
      "Machines\n"
      " 1  2  3\n"
      " 3  1  2\n";
  EXPECT_EQ(detectInstanceFormat(text), InstanceFormat::kTaillard);
  const Instance expected = makeInstance(2, 3, {3, 2, 4, 2, 5, 1}, {1, 2, 3, 3, 1, 2}, 9);
  const ImportedInstance imported = parseInstanceText(text, "in.txt");
  expectSameInstance(imported.instance, expected);
  EXPECT_EQ(imported.upperBound, 10);
  // No caption, the keywords in other letter cases, comments and blank lines between the blocks.
  const std::string blocks = "times\n3 2 4\n1 2 5\n\nMACHINES\n1 2 3\n3 1 2\n";
  const ImportedInstance bare = parseInstanceText("# from the paper\n2 3\n" + blocks, "in.txt");
  expectSameInstance(bare.instance, expected);
  EXPECT_EQ(bare.upperBound, std::nullopt);
  // The seeds alone give no bound; the fifth number is the upper bound, with or without a sixth.
  EXPECT_EQ(parseInstanceText("2 3 7 8\n" + blocks, "in.txt").upperBound, std::nullopt);
  EXPECT_EQ(parseInstanceText("2 3 7 8 0\n" + blocks, "in.txt").upperBound, 0);
}

TEST(InstanceImport, DefaultTargetIsTheLargestJobTotalOrMachineLoad) {
  // Job totals 9 and 8 against machine loads 5, 7 and 5: the first job decides.
  EXPECT_EQ(instanceOf("2 3\n0 3 1 2 2 4\n2 1 0 2 1 5\n").targetMakespan, 9);
  // Job totals 6, 5 and 5 against machine loads 12 and 4: the first machine decides.
  const Instance loaded = instanceOf("3 2\n0 5 1 1\n0 4 1 1\n1 2 0 3\n");
  EXPECT_EQ(loaded.targetMakespan, 12);
  EXPECT_EQ(classicLowerBound(loaded), 12);
  // Zero times are allowed; one job on one machine is the smallest instance.
  EXPECT_EQ(instanceOf("1 1\n0 0\n").targetMakespan, 0);
}

TEST(InstanceImport, ImportedFileReadsBackAsTheSameInstance) {
  const std::string folder = makeTempFolder();
  const std::vector<std::string> sources = {
      "2 3\n0 3 1 2 2 4\n2 1 0 2 1 5\n",
      "3 2\n0 5 1 1\n0 4 1 1\n1 2 0 3\n",
      "1 4 7 7\nTimes\n10 20 30 40\nMachines\n4 2 3 1\n",
      // The largest total time the import lets through is one the program's reader takes.
      "2 1\n0 16777215\n0 1\n",
  };
  for (const std::string& source : sources) {
    const Instance imported = instanceOf(source);
    writeFile(folder + "D_Entrada.txt", formatInstanceFile(imported));
    expectSameInstance(readInstance(folder + "D_Entrada.txt"), imported);
  }
}

TEST(InstanceImport, RefusesMalformedStandardFiles) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "in.txt:1: no instance: expected a line with the number of jobs and machines"},
      // A single number on the first line would make it a "D_Entrada.txt".
      {"2 3 1\n0 3 1 2 2 4\n", "in.txt:1: expected 2 numbers (jobs and machines), found 3"},
      {"0 3\n", "in.txt:1: the number of jobs must be at least 1, found 0"},
      {"2 -1\n", "in.txt:1: the number of machines must be at least 1, found -1"},
      {"65536 1\n", "in.txt:1: 65536 jobs are more than the 65535 the program handles"},
      {"5000 5000\n",
       "in.txt:1: 5000 jobs x 5000 machines are more operations than the 16777216 the program "
       "handles"},
      {"2 3\n0 3 1 2\n2 1 0 2 1 5\n",
       "in.txt:2: job 1 has too few values: 4 numbers, expected 3 pairs \"machine time\" (6 "
       "numbers)"},
      {"2 3\n0 3 1 2 2 4\n2 1 0 2 1 5 7\n",
       "in.txt:3: job 2 has too many values: 7 numbers, expected 3 pairs \"machine time\" (6 "
       "numbers)"},
      {"# header\n2 3\n# job 1\n0 3 1 2 3 4\n",
       "in.txt:4: job 1, operation 3: machine 3 is out of range 0..2"},
      {"2 3\n0 3 1 2 0 4\n",
       "in.txt:2: job 1, operation 3: machine 0 is already used by operation 1"},
      {"2 3\n0 3 1 two 2 4\n", "in.txt:2: \"two\" is not a whole number"},
      {"2 3\n0 3 1 -2 2 4\n", "in.txt:2: job 1, operation 2: processing time -2 is negative"},
      // -1 is the nearest negative: a test of "below -1" would let it through.
      {"2 3\n0 -1 1 2 2 4\n", "in.txt:2: job 1, operation 1: processing time -1 is negative"},
      {"1 1\n0 99999999999\n", "in.txt:2: 99999999999 does not fit a 32-bit integer"},
      {"2 3\n0 3 1 2 2 4\n", "in.txt:2: the file ends after 1 of 2 jobs"},
      {"2 3\n0 3 1 2 2 4\n\n\n", "in.txt:4: the file ends after 1 of 2 jobs"},
      {"1 3\n0 3 1 2 2 4\n0 3 1 2 2 4\n", "in.txt:3: unexpected line after the last of 1 jobs"},
      {"2 1\n0 16777216\n0 1\n",
       "in.txt:3: the processing times add up to more than 16777216, beyond what the program's "
       "makespans hold exactly"},
  };
  for (const auto& [text, message] : cases)
    EXPECT_REFUSAL(parseInstanceText(text, "in.txt"), message) << text;
}

TEST(InstanceImport, RefusesMalformedTaillardFiles) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Times\n3 2 4\n", "in.txt:1: expected a header line with the number of jobs and machines"},
      {"2 3 seed\nTimes\n", "in.txt:1: \"seed\" is not a whole number"},
      {"2 3 1 2 -5\nTimes\n", "in.txt:1: the upper bound -5 in the header is negative"},
      {"2 0\nTimes\n", "in.txt:1: the number of machines must be at least 1, found 0"},
      {"2 3\nMachines\n1 2 3\n3 1 2\n",
       "in.txt:2: expected the line \"Times\", found \"Machines\""},
      {"2 3\nTimes\n3 2 4\nMachines\n1 2 3\n3 1 2\n",
       "in.txt:4: the \"Times\" block ends after 1 of 2 jobs"},
      {"2 3\nTimes\n3 2 4\n1 2 5\n", "in.txt:4: missing \"Machines\" block"},
      {"2 3\nTimes\n3 2 4\n1 2 5\nMachines\n1 2 3\n",
       "in.txt:6: the \"Machines\" block ends after 1 of 2 jobs"},
      {"2 3\nTimes\n3 2\n1 2 5\nMachines\n1 2 3\n3 1 2\n",
       "in.txt:3: job 1 has too few values: 2 numbers, expected 3 processing times"},
      {"2 3\nTimes\n3 2 4\n1 2 5\nMachines\n1 2 3\n3 1 2 1\n",
       "in.txt:7: job 2 has too many values: 4 numbers, expected 3 machine numbers"},
      {"2 3\nTimes\n3 2 4\n1 2 5\nMachines\n1 2 3\n3 0 2\n",
       "in.txt:7: job 2, operation 2: machine 0 is out of range 1..3"},
      {"2 3\nTimes\n3 2 4\n1 2 5\nMachines\n1 2 3\n3 1 3\n",
       "in.txt:7: job 2, operation 3: machine 3 is already used by operation 1"},
      {"2 3\nTimes\n3 2 4\n1 x 5\nMachines\n1 2 3\n3 1 2\n",
       "in.txt:4: \"x\" is not a whole number"},
      {"2 3\nTimes\n3 2 4\n1 -2 5\nMachines\n1 2 3\n3 1 2\n",
       "in.txt:4: job 2, operation 2: processing time -2 is negative"},
      {"2 3\nTimes\n3 2 -1\n1 2 5\nMachines\n1 2 3\n3 1 2\n",
       "in.txt:3: job 1, operation 3: processing time -1 is negative"},
      {"2 3\nTimes\n3 2 4\n1 2 5\nMachines\n1 2 3\n3 1 2\nTimes\n",
       "in.txt:8: unexpected line after the \"Machines\" block"},
  };
  for (const auto& [text, message] : cases)
    EXPECT_REFUSAL(parseInstanceText(text, "in.txt"), message) << text;
}

TEST(InstanceImport, RefusalsShowFileTextAndNamesEscaped) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"2 3\n0 3 1 \x01 2 4\n", "in.txt:2: \"\\x01\" is not a whole number"},
      {"2 3\n\x1b[31mred\nTimes\n",
       "in.txt:2: expected the line \"Times\", found \"\\x1b[31mred\""},
  };
  for (const auto& [text, message] : cases)
    EXPECT_REFUSAL(parseInstanceText(text, "in.txt"), message) << text;
  try {
    parseInstanceText("", "in\tthe\x01/in.txt");
    FAIL() << "accepted an empty file";
  } catch (const InputError& error) {
    EXPECT_EQ(error.message.rfind("in\\tthe\\x01/in.txt:1: ", 0), 0u) << error.message;
  }
}

TEST(InstanceImport, UnreadableFileIsRefusedWithItsPath) {
  try {
    importInstanceFile("/nonexistent/instance.txt");
    FAIL() << "accepted a missing file";
  } catch (const InputError& error) {
    EXPECT_EQ(error.message.rfind("/nonexistent/instance.txt: cannot open the file (", 0), 0u)
        << error.message;
  }
}

}  // namespace jobshop
