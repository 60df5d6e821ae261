// The main run with a niching method chosen: the window checked against the population of
// "D_Algoritmo.txt", and the method's settings in the execution record.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "program_runner.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// ft06 with a population of 100 and a budget of 200 evaluations, one run.
std::string ft06Folder() {
  const std::string folder = makeTempFolder();
  const std::string examples = std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/";
  std::filesystem::copy(examples + "D_Entrada.txt", folder);
  std::string parameters = readFile(examples + "D_Algoritmo.txt");
  parameters.replace(parameters.find("20000"), 5, "200");
  parameters.replace(parameters.find("runCount\n10"), 11, "runCount\n1");
  writeFile(folder + "D_Algoritmo.txt", parameters);
  return folder;
}

}  // namespace

TEST(NichingRun, AWindowLargerThanThePopulationIsRefusedBeforeAnyRun) {
  const std::string folder = ft06Folder();
  const Captured refused =
      runProgramIn(folder, "--seed 3 --niching restricted-tournament --window-size 101");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err,
            "--window-size 101 supera el tamaño de la población, que en D_Algoritmo.txt es 100\n");
  EXPECT_FALSE(std::filesystem::exists(folder + "D_Sal_Mejores.txt"));
  EXPECT_FALSE(std::filesystem::exists(folder + "executions.jsonl"));

  const Captured fits =
      runProgramIn(folder, "--seed 3 --niching restricted-tournament --window-size 100");
  ASSERT_EQ(fits.status, 0) << fits.err;
  const nlohmann::json record = nlohmann::json::parse(readFile(folder + "executions.jsonl"));
  EXPECT_EQ(record["niching"],
            nlohmann::json::parse(R"({"method": "restricted-tournament", "windowSize": 100})"));
}

TEST(NichingRun, TheRecordNamesTheMethodAndARepeatIsWarnedOnlyForTheSameOne) {
  const std::string folder = ft06Folder();
  ASSERT_EQ(runProgramIn(folder, "--seed 5 --quiet").status, 0);
  const Captured clearing = runProgramIn(folder, "--seed 5 --quiet --niching clearing");
  ASSERT_EQ(clearing.status, 0) << clearing.err;
  EXPECT_EQ(clearing.err.find("Aviso"), std::string::npos) << "another method is no repeat";
  const Captured again = runProgramIn(folder, "--seed 5 --quiet --niching clearing");
  EXPECT_NE(again.err.find("repite la de la línea 2"), std::string::npos) << again.err;
  const Captured wider =
      runProgramIn(folder, "--seed 5 --quiet --niching clearing --clearing-radius 9");
  EXPECT_EQ(wider.err.find("Aviso"), std::string::npos) << "another radius is no repeat";

  const std::vector<std::string> lines = [&] {
    std::vector<std::string> all;
    std::istringstream text(readFile(folder + "executions.jsonl"));
    for (std::string line; std::getline(text, line);) all.push_back(line);
    return all;
  }();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(nlohmann::json::parse(lines[0])["niching"], nlohmann::json::parse(R"({"method":
            "crowding"})"));
  // ft06 has 36 cells: a tenth, rounded, is 4.
  EXPECT_EQ(nlohmann::json::parse(lines[1])["niching"],
            nlohmann::json::parse(
                R"({"method": "clearing", "clearingRadius": 4, "clearingCapacity": 1})"));
  EXPECT_EQ(nlohmann::json::parse(lines[3])["niching"]["clearingRadius"], 9);

  // The report shows each run's method beside its parameters.
  const Captured report = runProgramIn(folder, "report --json report.json");
  ASSERT_EQ(report.status, 0) << report.err;
  const nlohmann::json runs = nlohmann::json::parse(readFile(folder + "report.json"))["runs"];
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0]["niching"], nlohmann::json::parse(R"({"method": "crowding"})"));
  EXPECT_EQ(runs[3]["niching"], nlohmann::json::parse(R"({"method": "clearing", "clearingRadius":
            9, "clearingCapacity": 1})"));
  EXPECT_NE(readFile(folder + "report.html")
                .find("<td>clearing (clearingRadius 9, clearingCapacity 1)</td>"),
            std::string::npos);
}

}  // namespace jobshop
