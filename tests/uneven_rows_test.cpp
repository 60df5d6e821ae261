// Matrix lines of D_Entrada.txt that hold more or fewer values than the instance has machines: the
// values run on by count, as the file's reading rule has it, and the first such line of each kind
// is said on standard error by every command that reads the file, with nothing else changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "input/instance_reader.h"
#include "input/line_reader.h"
#include "program_runner.h"
#include "test_instances.h"

namespace jobshop {

namespace {

namespace fs = std::filesystem;

using Warnings = std::vector<std::string>;

struct Read {
  Instance instance;
  Warnings warnings;
};

Read readText(const std::string& text) {
  Read read;
  read.instance = parseInstanceLines(splitLines(text), "D_Entrada.txt", &read.warnings);
  return read;
}

std::vector<int> oneTo(int last) {
  std::vector<int> values;
  for (int v = 1; v <= last; ++v) values.push_back(v);
  return values;
}

const std::string kHeader = "4\n6\n100\n";
const std::string kEvenRouting = "1 2 3 4 5 6\n1 2 3 4 5 6\n1 2 3 4 5 6\n1 2 3 4 5 6\n";

}  // namespace

TEST(UnevenRows, AShortLineGoesOnInTheNextAndALongOneMakesUpForIt) {
  const Read read = readText(kHeader +
                             "1 2 3 4 5 6\n7 8 9 10 11\n12 13 14 15 16 17 18\n"
                             "19 20 21 22 23 24\n" +
                             kEvenRouting);
  EXPECT_EQ(read.instance.times, oneTo(24)) << "read by count across the lines";
  EXPECT_EQ(read.warnings,
            (Warnings{"D_Entrada.txt, línea 5: 5 valores donde se esperaban 6; los valores "
                      "siguen en la línea 6",
                      "D_Entrada.txt, línea 6: 7 valores donde se esperaban 6; los primeros "
                      "completan la fila anterior"}));
}

TEST(UnevenRows, ASurplusPassesToTheNextLineWhichThenFallsShort) {
  const Read read = readText(kHeader +
                             "1 2 3 4 5 6\n7 8 9 10 11 12 13\n14 15 16 17 18\n"
                             "19 20 21 22 23 24\n" +
                             kEvenRouting);
  EXPECT_EQ(read.instance.times, oneTo(24));
  EXPECT_EQ(read.warnings,
            (Warnings{"D_Entrada.txt, línea 5: 7 valores donde se esperaban 6; el sobrante pasa "
                      "a la línea 6",
                      "D_Entrada.txt, línea 6: 5 valores donde se esperaban 6; los que faltan "
                      "vienen de la línea anterior"}));
}

TEST(UnevenRows, TheRoutingIsLookedAtTooOnceAKindIsNotYetSaid) {
  const Read routingOnly = readText("2\n3\n10\n3 2 4\n2 5 1\n1 2 3 3\n1 2\n");
  EXPECT_EQ(routingOnly.instance.routing, (std::vector<int>{1, 2, 3, 3, 1, 2}));
  EXPECT_EQ(routingOnly.warnings,
            (Warnings{"D_Entrada.txt, línea 6: 4 valores donde se esperaban 3; el sobrante pasa "
                      "a la línea 7",
                      "D_Entrada.txt, línea 7: 2 valores donde se esperaban 3; los que faltan "
                      "vienen de la línea anterior"}));
  // Both kinds already said of the times: the routing's own uneven lines add nothing.
  const Read both = readText(kHeader +
                             "1 2 3 4 5 6\n7 8 9 10 11\n12 13 14 15 16 17 18\n"
                             "19 20 21 22 23 24\n"
                             "1 2 3 4 5 6\n1 2 3 4 5\n6 1 2 3 4 5 6\n1 2 3 4 5 6\n");
  EXPECT_EQ(both.instance.routing, (std::vector<int>{1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 6,
                                                     1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(both.warnings.size(), 2u);
}

TEST(UnevenRows, OneValueAndOneMachineAreSaidInTheSingular) {
  EXPECT_EQ(readText("2\n2\n10\n5\n6 7 8\n1 2\n2 1\n").warnings,
            (Warnings{"D_Entrada.txt, línea 4: 1 valor donde se esperaban 2; los valores siguen "
                      "en la línea 5",
                      "D_Entrada.txt, línea 5: 3 valores donde se esperaban 2; los primeros "
                      "completan la fila anterior"}));
  const Read oneMachine = readText("3\n1\n5\n\n2 3\n4\n1\n1\n1\n");
  EXPECT_EQ(oneMachine.instance.times, (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(oneMachine.warnings,
            (Warnings{"D_Entrada.txt, línea 4: 0 valores donde se esperaba 1; los valores "
                      "siguen en la línea 5",
                      "D_Entrada.txt, línea 5: 2 valores donde se esperaba 1; los primeros "
                      "completan la fila anterior"}));
}

TEST(UnevenRows, AWarningFollowsTheLossyOneAndPrecedesTheTargets) {
  EXPECT_EQ(readText("2\n3\n-1\n3 2 4 2\n5 1.5\n1 2 3\n3 1 2\n").warnings,
            (Warnings{"D_Entrada.txt, línea 5: \"1.5\" se lee como 1",
                      "D_Entrada.txt, línea 4: 4 valores donde se esperaban 3; el sobrante pasa "
                      "a la línea 5",
                      "D_Entrada.txt, línea 5: 2 valores donde se esperaban 3; los que faltan "
                      "vienen de la línea anterior",
                      "D_Entrada.txt, línea 3: el makespan objetivo -1 no se alcanza nunca, todo "
                      "makespan es al menos 1"}));
}

// The whole program: the same instance written evenly and unevenly gives the same standard output
// and files; standard error gains the two lines, from the main run, the count, the import and the
// report alike.
TEST(UnevenRows, EveryCommandSaysThemAndNothingElseChanges) {
  const std::string even = makeTempFolder();
  const std::string uneven = makeTempFolder();
  writeFile(even + "D_Entrada.txt", "2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n");
  writeFile(uneven + "D_Entrada.txt", "2\n3\n10\n3 2 4 2\n5 1\n1 2 3\n3 1 2\n");
  const std::string said =
      "D_Entrada.txt, línea 4: 4 valores donde se esperaban 3; el sobrante pasa a la línea 5\n"
      "D_Entrada.txt, línea 5: 2 valores donde se esperaban 3; los que faltan vienen de la línea "
      "anterior\n";
  for (const std::string& folder : {even, uneven}) {
    fs::copy_file(std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/D_Algoritmo.txt",
                  folder + "D_Algoritmo.txt");
  }
  const Captured evenRun = runProgramIn(even, "--seed 7");
  const Captured unevenRun = runProgramIn(uneven, "--seed 7");
  EXPECT_EQ(unevenRun.status, evenRun.status);
  EXPECT_EQ(unevenRun.out, evenRun.out);
  EXPECT_EQ(evenRun.err, "semilla 7\n");
  EXPECT_EQ(unevenRun.err, said + "semilla 7\n");
  for (const char* name : {"D_Sal_Mejores.txt", "D_Sal_Optimos.txt", "D_Sal_NumOptimos.txt",
                           "D_Sal_Distancias.txt", "D_Sal_Soluciones.txt"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(fileExists(uneven + name));
    EXPECT_EQ(readFile(uneven + name), readFile(even + name));
  }

  const Captured count = runProgramIn(uneven, "optima");
  EXPECT_EQ(count.status, 0);
  EXPECT_EQ(count.err, said);
  const Captured imported = runProgramIn(uneven, "import D_Entrada.txt");
  EXPECT_EQ(imported.status, 0);
  EXPECT_EQ(imported.out, readFile(even + "D_Entrada.txt"));
  EXPECT_EQ(imported.err, said);
  const Captured report = runProgramIn(uneven, "report --output page.html");
  EXPECT_EQ(report.status, 0);
  // The report's own problems, if any, follow.
  EXPECT_EQ(
      report.err.rfind(
          "jobshop-niching report: D_Entrada.txt, línea 4: 4 valores donde se esperaban 3; el "
          "sobrante pasa a la línea 5\njobshop-niching report: D_Entrada.txt, línea 5: 2 valores "
          "donde se esperaban 3; los que faltan vienen de la línea anterior\n",
          0),
      0u)
      << report.err;
  fs::remove_all(even);
  fs::remove_all(uneven);
}

}  // namespace jobshop
