// optima --backbone end to end: the summary's line, optima.json's object, the same backbone from
// the count and from the list, none for a stopped or an empty count, and the options it refuses.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "program_runner.h"
#include "results/optima_file.h"
#include "test_instances.h"

namespace jobshop {

namespace {

std::string ft06Folder() {
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt",
            readFile(std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/D_Entrada.txt"));
  return folder;
}

bool hasLine(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

nlohmann::json backboneOf(const std::string& folder) {
  return nlohmann::json::parse(readFile(folder + "optima.json"))["backbone"];
}

}  // namespace

TEST(OptimaBackboneCommand, CountAndListGiveTheSameBackbone) {
  const std::string counted = ft06Folder();
  const Captured byCount = runProgramIn(counted, "optima --memory 16 --bound 57 --backbone");
  ASSERT_EQ(byCount.status, 0) << byCount.err;
  const std::string listed = ft06Folder();
  const Captured byList =
      runProgramIn(listed, "optima --bound 57 --backbone --list " + listed + "list.txt");
  ASSERT_EQ(byList.status, 0) << byList.err;

  const nlohmann::json backbone = backboneOf(counted);
  EXPECT_EQ(backbone, backboneOf(listed));
  EXPECT_EQ(backbone["of"], 90);  // 6 machines * 6 * 5 / 2 pairs
  EXPECT_EQ(backbone["orders"].size(), backbone["pairs"].get<std::size_t>());
  const std::string line = "backbone " + std::to_string(backbone["pairs"].get<int>()) + " of 90";
  EXPECT_NE(byCount.out.find("\n" + line + " machine pairs ("), std::string::npos) << byCount.out;
  EXPECT_NE(byList.out.find("\n" + line + " machine pairs ("), std::string::npos) << byList.out;

  // Read back with the list: every listed schedule keeps each backbone order.
  const OptimaInFolder read = loadEnumeratedOptima(listed);
  ASSERT_TRUE(read && *read);
  ASSERT_TRUE((*read)->backbone);
  EXPECT_EQ(*(*read)->backbone, backboneOfSchedules((*read)->schedules, 6, 6));
}

TEST(OptimaBackboneCommand, NoneWithoutSchedulesOrACompleteCount) {
  const std::string folder = ft06Folder();
  // ft06's optimum is 55: nothing within 54.
  const Captured empty = runProgramIn(folder, "optima --memory 16 --bound 54 --backbone");
  ASSERT_EQ(empty.status, 0) << empty.err;
  EXPECT_TRUE(hasLine(empty.out, "backbone none: no schedule within the bound")) << empty.out;
  EXPECT_EQ(backboneOf(folder)["pairs"], 0);

  const Captured stopped = runProgramIn(
      folder, "optima --memory 16 --bound 60 --backbone --time-limit 0.000001 --threads 1");
  ASSERT_EQ(stopped.status, 0) << stopped.err;
  EXPECT_TRUE(hasLine(stopped.out, "complete no"));
  EXPECT_TRUE(hasLine(stopped.out, "backbone none: the count is not complete")) << stopped.out;
  EXPECT_FALSE(nlohmann::json::parse(readFile(folder + "optima.json")).contains("backbone"));

  const Captured plain = runProgramIn(folder, "optima --memory 16 --bound 55");
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(plain.out.find("backbone"), std::string::npos);
  EXPECT_FALSE(nlohmann::json::parse(readFile(folder + "optima.json")).contains("backbone"));
}

TEST(OptimaBackboneCommand, RefusedWithACountThatMissesSchedules) {
  const std::string folder = ft06Folder();
  for (const char* arguments : {"--backbone --resume", "--backbone --limit 5"}) {
    const Captured refused = runProgramIn(folder, std::string("optima ") + arguments);
    EXPECT_EQ(refused.status, 2) << arguments;
    EXPECT_NE(refused.err.find("--backbone goes with a count that sees every schedule it counts"),
              std::string::npos)
        << arguments << ": " << refused.err;
  }
}

}  // namespace jobshop
