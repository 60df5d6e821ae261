// The readers' warnings: text read as a value it does not quite say ("1e1" as 1, "10.5" as 10, a
// word as 0) is named once per file on standard error, as is a target makespan no run can reach,
// while everything else the program writes stays as it was; the shipped inputs read quietly.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "input/instance_reader.h"
#include "input/line_reader.h"
#include "input/parameter_reader.h"
#include "test_instances.h"

namespace jobshop {

namespace {

namespace fs = std::filesystem;

const std::string kExample = "2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n";

std::vector<std::string> instanceWarnings(const std::string& text) {
  std::vector<std::string> warnings;
  parseInstanceLines(splitLines(text), "D_Entrada.txt", &warnings);
  return warnings;
}

// The parameter file of the example folders: N 10, budget 1000, 2 runs, 80 % and 10 %, scramble
// and swap mutation, cycle and precedence crossover, 3 candidates, 2 groups of 4.
std::vector<std::string> parameterLines(size_t pair = 0, const std::string& value = "") {
  const std::vector<std::string> values = {"10", "1000", "2", "80", "10", "1", "0", "1", "0", "0",
                                           "1",  "0",    "0", "0",  "0",  "1", "3", "2", "4"};
  std::vector<std::string> lines;
  for (size_t i = 0; i < values.size(); ++i) {
    lines.push_back("Parametro " + std::to_string(i + 1));
    lines.push_back(i + 1 == pair ? value : values[i]);
  }
  return lines;
}

std::vector<std::string> parameterWarnings(const std::vector<std::string>& lines) {
  std::vector<std::string> warnings;
  parseParameterLines(lines, "D_Algoritmo.txt", &warnings);
  return warnings;
}

using Warnings = std::vector<std::string>;

}  // namespace

TEST(InputWarnings, NameTheFirstLossyLineOfTheInstance) {
  EXPECT_EQ(instanceWarnings("2\n3\n1e1\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n"),
            Warnings{"D_Entrada.txt, línea 3: \"1e1\" se lee como 1"});
  EXPECT_EQ(instanceWarnings("2 trabajos\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n"),
            Warnings{"D_Entrada.txt, línea 1: \"2 trabajos\" se lee como 2"});
  // A matrix line by its first such field; later ones, on this line or others, are not named.
  EXPECT_EQ(instanceWarnings("2\n3\n10\n3 2 4\n2 10.5 1x\n1 2 3\n3 1 2abc\n"),
            Warnings{"D_Entrada.txt, línea 5: \"10.5\" se lee como 10"});
  EXPECT_EQ(instanceWarnings("2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3\t4 1 2\n"),
            Warnings{"D_Entrada.txt, línea 7: \"3\\t4\" se lee como 3"});
  // The target line of a word reads 0, which no run reaches either.
  EXPECT_EQ(instanceWarnings("2\n3\nobjetivo\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n"),
            (Warnings{"D_Entrada.txt, línea 3: \"objetivo\" se lee como 0",
                      "D_Entrada.txt, línea 3: el makespan objetivo 0 no se alcanza nunca, todo "
                      "makespan es al menos 1"}));
}

TEST(InputWarnings, LeaveWhatTheFormatSaysPlainlyAlone) {
  // Blanks around a number, a sign, leading zeros, CRLF line ends, a last line without its line
  // feed, one space before a line's end, trailing text after the last matrix line.
  for (const std::string& text :
       {kExample, std::string("  2 \n+3\n010\t\n3 2 4 \n2 5 1\n1 2 3\n3 1 2\nsobra abc\n"),
        std::string("2\r\n3\r\n10\r\n3 2 4\r\n2 5 1\r\n1 2 3\r\n3 1 2\r\n"),
        std::string("2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2")})
    EXPECT_EQ(instanceWarnings(text), Warnings{}) << text;
  // Nothing is gathered when nobody asks.
  EXPECT_NO_THROW(
      parseInstanceLines(splitLines("2\n3\n1e1\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n"), "D_Entrada.txt"));
}

TEST(InputWarnings, NameATargetNoRunCanReach) {
  EXPECT_EQ(instanceWarnings("2\n3\n-5\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n"),
            Warnings{"D_Entrada.txt, línea 3: el makespan objetivo -5 no se alcanza nunca, todo "
                     "makespan es al menos 1"});
  EXPECT_EQ(instanceWarnings("2\n3\n0\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n"),
            Warnings{"D_Entrada.txt, línea 3: el makespan objetivo 0 no se alcanza nunca, todo "
                     "makespan es al menos 1"});
  EXPECT_EQ(instanceWarnings("2\n3\n1\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n"), Warnings{});
  // With every time 0 every makespan is 0, which a target of 0 reaches and -1 does not.
  EXPECT_EQ(instanceWarnings("1\n2\n0\n0 0\n2 1\n"), Warnings{});
  EXPECT_EQ(instanceWarnings("1\n2\n-1\n0 0\n2 1\n"),
            Warnings{"D_Entrada.txt, línea 3: el makespan objetivo -1 no se alcanza nunca, todo "
                     "makespan es al menos 0"});
}

TEST(InputWarnings, NameTheFirstLossyValueLineOfTheParameters) {
  EXPECT_EQ(parameterWarnings(parameterLines(2, "40 abc")),
            Warnings{"D_Algoritmo.txt, línea 4: \"40 abc\" se lee como 40"});
  EXPECT_EQ(parameterWarnings(parameterLines(2, "1e6")),
            Warnings{"D_Algoritmo.txt, línea 4: \"1e6\" se lee como 1"});
  EXPECT_EQ(parameterWarnings(parameterLines(6, "1.0")),
            Warnings{"D_Algoritmo.txt, línea 12: \"1.0\" se lee como 1"});
  EXPECT_EQ(parameterWarnings(parameterLines(7, "sí")),
            Warnings{"D_Algoritmo.txt, línea 14: \"sí\" se lee como 0"});
  EXPECT_EQ(parameterWarnings(parameterLines(9, "")),
            Warnings{"D_Algoritmo.txt, línea 18: \"\" se lee como 0"});
  EXPECT_EQ(parameterWarnings(parameterLines(9, "-")),
            Warnings{"D_Algoritmo.txt, línea 18: \"-\" se lee como 0"});
  std::vector<std::string> two = parameterLines(3, "2,5");
  two[3] = "1000.0";
  EXPECT_EQ(parameterWarnings(two),
            Warnings{"D_Algoritmo.txt, línea 4: \"1000.0\" se lee como 1000"});
}

TEST(InputWarnings, NeverLookAtParameterLabels) {
  std::vector<std::string> lines = parameterLines();
  for (size_t k = 0; k < lines.size(); k += 2) lines[k] = "";
  lines[0] = "1e1 99999999999999999999 \t x";
  EXPECT_EQ(parameterWarnings(lines), Warnings{});
  for (const char* value : {" 1", "+1", "01", "1 ", "1\t", "1\r"})
    EXPECT_EQ(parameterWarnings(parameterLines(6, value)), Warnings{}) << value;
}

TEST(InputWarnings, TheShippedInputsReadQuietly) {
  const fs::path source(JOBSHOP_SOURCE_DIR);
  int files = 0;
  for (const fs::path& root : {source / "examples", source / "tests" / "golden"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      const std::string name = entry.path().filename().string();
      if (name != "D_Entrada.txt" && name != "D_Algoritmo.txt") continue;
      SCOPED_TRACE(entry.path().string());
      std::vector<std::string> warnings;
      if (name == "D_Entrada.txt")
        readInstance(entry.path().string(), &warnings);
      else
        readParameters(entry.path().string(), &warnings);
      EXPECT_EQ(warnings, Warnings{});
      ++files;
    }
  }
  EXPECT_GE(files, 18) << "every example and golden case has both files";
}

// The whole program: the same run from a file that says 1e1 and from one that says 1 writes the
// same standard output and result files; only standard error differs, by one line per file.
TEST(InputWarnings, GoToStandardErrorAndChangeNothingElse) {
  const std::string plain = makeTempFolder();
  const std::string lossy = makeTempFolder();
  writeFile(plain + "D_Entrada.txt", kExample);
  writeFile(lossy + "D_Entrada.txt", "2\n3\n10\n3 2 4.0\n2 5 1\n1 2 3\n3 1 2\n");
  auto parameterText = [](const std::string& budget) {
    std::string text;
    for (const std::string& line : parameterLines(2, budget)) text += line + "\n";
    return text;
  };
  writeFile(plain + "D_Algoritmo.txt", parameterText("2000"));
  writeFile(lossy + "D_Algoritmo.txt", parameterText("2000.5 evaluaciones"));

  for (const std::string& folder : {plain, lossy}) {
    const std::string command = "cd '" + folder + "' && " + JOBSHOP_PROGRAM +
                                " --seed 7 > stdout.txt 2> stderr.txt; echo $? > status.txt";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  for (const char* name :
       {"stdout.txt", "status.txt", "D_Sal_Mejores.txt", "D_Sal_Optimos.txt",
        "D_Sal_NumOptimos.txt", "D_Sal_Distancias.txt", "D_Sal_Soluciones.txt"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(fileExists(lossy + name));
    EXPECT_EQ(readFile(lossy + name), readFile(plain + name));
  }
  EXPECT_EQ(readFile(plain + "stderr.txt"), "semilla 7\n");
  EXPECT_EQ(readFile(lossy + "stderr.txt"),
            "D_Entrada.txt, línea 4: \"4.0\" se lee como 4\n"
            "D_Algoritmo.txt, línea 4: \"2000.5 evaluaciones\" se lee como 2000\n"
            "semilla 7\n");
  fs::remove_all(plain);
  fs::remove_all(lossy);
}

}  // namespace jobshop
