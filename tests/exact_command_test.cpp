// The optima command as a user runs it: the summary, exit statuses, the list file and the
// optima.json that the report reads back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "program_runner.h"
#include "results/optima_file.h"
#include "run/optima_command.h"
#include "test_instances.h"

namespace jobshop {

namespace {

Captured runOptima(const std::string& folder, const std::string& arguments) {
  return runProgramIn(folder, "optima " + arguments);
}

std::string ft06Folder() {
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt",
            readFile(std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/D_Entrada.txt"));
  return folder;
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

bool hasLine(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

}  // namespace

TEST(OptimaCommand, SummaryAndListAtTheTarget) {
  const std::string folder = ft06Folder();
  const Captured outcome = runOptima(folder, "--list optima.txt");
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(firstLine(outcome.out), "count 53");
  EXPECT_TRUE(hasLine(outcome.out, "bound 55"));
  EXPECT_TRUE(hasLine(outcome.out, "complete yes"));
  EXPECT_EQ(outcome.err, "");
  const std::string list = readFile(folder + "optima.txt");
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 53);
  EXPECT_EQ(firstLine(list).size(), 36u * 2 + 3) << "36 one-digit jobs and 55, each with a space";
  EXPECT_EQ(firstLine(list).substr(firstLine(list).size() - 4), " 55 ");

  std::string problem;
  const std::optional<EnumeratedOptima> loaded = loadEnumeratedOptima(folder, problem);
  ASSERT_TRUE(loaded) << problem;
  EXPECT_EQ(loaded->bound, 55);
  EXPECT_EQ(loaded->count, 53);
  EXPECT_TRUE(loaded->complete);
  EXPECT_EQ(loaded->listFile, "optima.txt");
  EXPECT_EQ(loaded->schedules.size(), 53u);
  EXPECT_EQ(loaded->schedules.begin()->size(), 36u);

  // The same list with one thread, from another folder through --dir.
  const Captured single = runOptima(
      makeTempFolder(), "--dir '" + folder + "' --threads 1 --list '" + folder + "single.txt'");
  EXPECT_EQ(firstLine(single.out), "count 53");
  EXPECT_EQ(readFile(folder + "single.txt"), list);
  ASSERT_TRUE(loadEnumeratedOptima(folder, problem)) << problem;
  EXPECT_EQ(loadEnumeratedOptima(folder, problem)->listFile, "single.txt");
}

TEST(OptimaCommand, BoundsLimitAndOptimum) {
  const std::string folder = ft06Folder();
  EXPECT_EQ(firstLine(runOptima(folder, "--bound 56").out), "count 175");
  const Captured below = runOptima(folder, "--bound 50 --list none.txt");
  EXPECT_EQ(below.status, 0);
  EXPECT_EQ(firstLine(below.out), "count 0");
  EXPECT_TRUE(hasLine(below.out, "complete yes"));
  EXPECT_EQ(readFile(folder + "none.txt"), "");

  const Captured limited = runOptima(folder, "--bound 56 --limit 10 --list first.txt");
  EXPECT_EQ(limited.status, 0);
  EXPECT_EQ(firstLine(limited.out), "count 10");
  EXPECT_TRUE(hasLine(limited.out, "complete no"));
  const std::string first = readFile(folder + "first.txt");
  EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 10);
  std::string problem;
  EXPECT_FALSE(loadEnumeratedOptima(folder, problem)->complete);

  const Captured optimum = runOptima(folder, "--optimum");
  EXPECT_EQ(firstLine(optimum.out), "count 53");
  EXPECT_TRUE(hasLine(optimum.out, "bound 55"));
  EXPECT_TRUE(hasLine(optimum.out, "optimum proven"));
  EXPECT_TRUE(loadEnumeratedOptima(folder, problem)->optimal);
}

TEST(OptimaCommand, TimeLimitGivesALowerBound) {
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt",
            readFile(std::string(JOBSHOP_SOURCE_DIR) + "/bench/instances/la02/D_Entrada.txt"));
  const Captured outcome = runOptima(folder, "--bound 720 --time-limit 0.2 --list some.txt");
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(firstLine(outcome.out).rfind("count ", 0), 0u);
  EXPECT_TRUE(hasLine(outcome.out, "complete no"));
  EXPECT_TRUE(hasLine(outcome.out, "time limit reached"));
  std::string problem;
  const std::optional<EnumeratedOptima> loaded = loadEnumeratedOptima(folder, problem);
  ASSERT_TRUE(loaded) << problem;
  EXPECT_FALSE(loaded->complete);
  EXPECT_EQ(static_cast<std::int64_t>(loaded->schedules.size()), loaded->count);
  EXPECT_EQ(firstLine(outcome.out), "count " + std::to_string(loaded->count));
}

TEST(OptimaCommand, RefusalsAndUsageErrors) {
  const std::string folder = makeTempFolder();
  const Captured missing = runOptima(folder, "");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "No se ha podido abrir el archivo del ejemplo");
  writeFile(folder + "D_Entrada.txt", "2\n2\n10\n1 2\n3 -4\n1 2\n2 1\n");
  const Captured refused = runOptima(folder, "");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("D_Entrada.txt"), std::string::npos) << refused.err;
  EXPECT_FALSE(fileExists(folder + "optima.json"));

  for (const char* arguments :
       {"--bound", "--bound x", "--bound -1", "--limit 0", "--threads 0", "--time-limit 0",
        "--bound 5 --optimum", "--dir a --dir b", "--frobnicate"}) {
    const Captured usage = runOptima(folder, arguments);
    EXPECT_EQ(usage.status, 2) << arguments;
    EXPECT_NE(usage.err.find("usage: jobshop-niching optima"), std::string::npos) << arguments;
    EXPECT_EQ(usage.out, "") << arguments;
  }
  const Captured help = runOptima(folder, "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(firstLine(help.out).rfind("usage: jobshop-niching optima", 0), 0u);
}

TEST(OptimaCommand, LoaderRefusesAListThatDisagrees) {
  const std::string folder = makeTempFolder();
  std::string problem;
  EXPECT_FALSE(loadEnumeratedOptima(folder, problem));
  EXPECT_EQ(problem, "") << "no optima.json is no problem";
  EnumeratedOptima optima;
  optima.jobs = 2;
  optima.machines = 3;
  optima.bound = 10;
  optima.count = 1;
  optima.complete = true;
  optima.listFile = "list.txt";
  writeFile(folder + kEnumeratedOptimaFileName, enumeratedOptimaJson(optima));
  writeFile(folder + "list.txt", "1 2 1 2 2 1 10 \n");
  ASSERT_TRUE(loadEnumeratedOptima(folder, problem)) << problem;
  for (const char* bad : {"1 2 1 2 2 10 \n", "1 2 1 2 3 1 10 \n", "1 2 1 2 2 1 10\n",
                          "1 2 1 2 2 1 10 \n2 1 1 2 2 1 12 \n"}) {
    writeFile(folder + "list.txt", bad);
    EXPECT_FALSE(loadEnumeratedOptima(folder, problem)) << bad;
    EXPECT_NE(problem, "") << bad;
  }
  writeFile(folder + kEnumeratedOptimaFileName, "{\"bound\": 3}");
  EXPECT_FALSE(loadEnumeratedOptima(folder, problem));
  EXPECT_NE(problem, "");
}

TEST(OptimaCommand, RefusesOutputsThatNameTheInstanceOrEachOther) {
  const std::string folder = ft06Folder();
  const std::string instance = readFile(folder + "D_Entrada.txt");
  std::filesystem::create_directory(folder + "sub");
  std::filesystem::create_hard_link(folder + "D_Entrada.txt", folder + "sub/linked.txt");
  for (const char* arguments :
       {"--list D_Entrada.txt", "--list ./sub/../D_Entrada.txt", "--list sub/linked.txt",
        "--list optima.json", "--dir sub --list sub/optima.json"}) {
    const Captured refused = runOptima(folder, arguments);
    EXPECT_EQ(refused.status, 2) << arguments;
    EXPECT_EQ(refused.out, "") << arguments;
    EXPECT_NE(refused.err.find(" is the "), std::string::npos) << arguments << refused.err;
    EXPECT_NE(refused.err.find("usage: jobshop-niching optima"), std::string::npos) << arguments;
    EXPECT_EQ(readFile(folder + "D_Entrada.txt"), instance) << arguments;
    EXPECT_FALSE(fileExists(folder + "optima.json")) << arguments;
  }
  EXPECT_EQ(runOptima(folder, "--list D_Entrada.txt").err,
            "jobshop-niching optima: --list D_Entrada.txt is the instance file the count reads\n" +
                std::string(kOptimaUsage) + "\n");

  // optima.json as a link to the instance would be written through.
  const std::string linked = ft06Folder();
  std::filesystem::create_symlink("D_Entrada.txt", linked + "optima.json");
  EXPECT_EQ(runOptima(linked, "--limit 1").status, 2);
  EXPECT_EQ(readFile(linked + "D_Entrada.txt"), instance);

  // A list that is not there yet, or elsewhere, is written.
  EXPECT_EQ(runOptima(folder, "--list sub/list.txt --limit 2").status, 0);
  EXPECT_TRUE(fileExists(folder + "sub/list.txt"));
}

}  // namespace jobshop
