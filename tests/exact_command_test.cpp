// The optima command as a user runs it: the summary, exit statuses, the list file and the
// optima.json that the report reads back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "optima_folders.h"
#include "program_runner.h"
#include "report_fixture.h"
#include "results/optima_file.h"
#include "run/optima_command.h"
#include "support/text_files.h"
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

  const OptimaInFolder read = loadEnumeratedOptima(folder);
  ASSERT_TRUE(read) << read.reason();
  ASSERT_TRUE(*read);
  const EnumeratedOptima& loaded = **read;
  EXPECT_EQ(loaded.bound, 55);
  EXPECT_EQ(loaded.count, 53);
  EXPECT_TRUE(loaded.complete);
  EXPECT_EQ(loaded.listFile, "optima.txt");
  EXPECT_EQ(loaded.schedules.size(), 53u);
  EXPECT_EQ(loaded.schedules.begin()->size(), 36u);

  // The same list with one thread, from another folder through --dir.
  const Captured single = runOptima(
      makeTempFolder(), "--dir '" + folder + "' --threads 1 --list '" + folder + "single.txt'");
  EXPECT_EQ(firstLine(single.out), "count 53");
  EXPECT_EQ(readFile(folder + "single.txt"), list);
  const OptimaInFolder relisted = loadEnumeratedOptima(folder);
  ASSERT_TRUE(relisted && *relisted);
  EXPECT_EQ((*relisted)->listFile, "single.txt");
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
  const OptimaInFolder firstRead = loadEnumeratedOptima(folder);
  ASSERT_TRUE(firstRead && *firstRead);
  EXPECT_FALSE((*firstRead)->complete);

  // first.txt was listed at bound 56: counting at the optimum without a new list must unname it.
  const Captured optimum = runOptima(folder, "--optimum --force");
  EXPECT_EQ(firstLine(optimum.out), "count 53");
  EXPECT_TRUE(hasLine(optimum.out, "bound 55"));
  EXPECT_TRUE(hasLine(optimum.out, "optimum proven"));
  const OptimaInFolder optimumRead = loadEnumeratedOptima(folder);
  ASSERT_TRUE(optimumRead && *optimumRead);
  EXPECT_TRUE((*optimumRead)->optimal);
}

TEST(OptimaCommand, OneJobOfManyMachinesHasItsOneSchedule) {
  // One job: each machine's sequence is that job alone, so there is exactly one schedule, of
  // makespan the job's total time. 4,096 machines take hundredths of a second; a walk whose cost
  // grows with the square of the operations again (bounds recomputed or held for every depth of
  // the chain) makes this test take seconds and hundreds of megabytes.
  const int machines = 4096;
  std::string times;
  std::string routing;
  int total = 0;
  std::string expectedLine;
  for (int m = 1; m <= machines; ++m) {
    const int time = m * 7 % 9 + 1;
    total += time;
    times += std::to_string(time) + (m < machines ? " " : "\n");
    routing += std::to_string(m) + (m < machines ? " " : "\n");
    expectedLine += "1 ";
  }
  expectedLine += std::to_string(total) + " \n";
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", "1\n" + std::to_string(machines) + "\n" +
                                          std::to_string(total) + "\n" + times + routing);

  const Captured limited = runOptima(folder, "--limit 3 --list one.txt");
  EXPECT_EQ(limited.status, 0) << limited.err;
  EXPECT_EQ(limited.err, "");
  EXPECT_EQ(firstLine(limited.out), "count 1");
  EXPECT_TRUE(hasLine(limited.out, "bound " + std::to_string(total)));
  EXPECT_TRUE(hasLine(limited.out, "complete yes")) << "fewer than the limit: all were found";
  EXPECT_EQ(readFile(folder + "one.txt"), expectedLine);

  const Captured counted = runOptima(folder, "--force");
  EXPECT_EQ(counted.status, 0) << counted.err;
  EXPECT_EQ(firstLine(counted.out), "count 1");
  EXPECT_TRUE(hasLine(counted.out, "complete yes"));
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
  const OptimaInFolder read = loadEnumeratedOptima(folder);
  ASSERT_TRUE(read) << read.reason();
  ASSERT_TRUE(*read);
  const EnumeratedOptima& loaded = **read;
  EXPECT_FALSE(loaded.complete);
  EXPECT_EQ(static_cast<std::int64_t>(loaded.schedules.size()), loaded.count);
  EXPECT_EQ(firstLine(outcome.out), "count " + std::to_string(loaded.count));
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
  const OptimaInFolder absent = loadEnumeratedOptima(folder);
  ASSERT_TRUE(absent) << "no optima.json is no problem: " << absent.reason();
  EXPECT_FALSE(*absent);
  EnumeratedOptima optima;
  optima.jobs = 2;
  optima.machines = 3;
  optima.bound = 10;
  optima.count = 1;
  optima.complete = true;
  optima.listFile = "list.txt";
  writeFile(folder + kEnumeratedOptimaFileName, enumeratedOptimaJson(optima));
  writeFile(folder + "list.txt", "1 2 1 2 2 1 10 \n");
  const OptimaInFolder agreeing = loadEnumeratedOptima(folder);
  ASSERT_TRUE(agreeing) << agreeing.reason();
  ASSERT_TRUE(*agreeing);
  EXPECT_EQ((*agreeing)->schedules.size(), 1u);
  // Each reason is quoted as it is in the report's problems, so it points at the line.
  const std::string list = folder + "list.txt";
  for (const auto& [bad, reason] : std::vector<std::pair<std::string, std::string>>{
           {"1 2 1 2 2 10 \n", list + ", line 1: expected 7 numbers each followed by a space"},
           {"1 2 1 2 3 1 10 \n", list + ", line 1: job 3 out of range"},
           {"1 2 1 2 2 1 10\n", list + ", line 1: expected 7 numbers each followed by a space"},
           {"1 2 1 2 2 1 10 \n2 1 1 2 2 1 12 \n",
            list + ", line 2: more schedules than the count of optima.json"},
           {"", list + " holds 0 schedules, optima.json counts 1"}}) {
    writeFile(list, bad);
    const OptimaInFolder refused = loadEnumeratedOptima(folder);
    ASSERT_FALSE(refused) << bad;
    EXPECT_EQ(refused.reason(), reason) << bad;
  }
  writeFile(folder + kEnumeratedOptimaFileName, "{\"bound\": 3}");
  const OptimaInFolder malformed = loadEnumeratedOptima(folder);
  ASSERT_FALSE(malformed);
  EXPECT_EQ(malformed.reason().rfind(folder + kEnumeratedOptimaFileName + ": ", 0), 0u)
      << malformed.reason();
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
            "jobshop-niching optima: --list D_Entrada.txt is the folder's own file, which the "
            "program reads or records\n" +
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

namespace jobshop {

namespace {

// The field of row `row` (1 = the first after the heading) under `heading`; fields hold no commas.
std::string csvColumn(const std::vector<std::string>& rows, std::size_t row,
                      const std::string& heading) {
  auto fields = [](const std::string& line) {
    std::vector<std::string> cut;
    std::size_t start = 0;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
      cut.push_back(line.substr(start, comma - start));
    cut.push_back(line.substr(start));
    return cut;
  };
  const std::vector<std::string> headings = fields(rows.at(0));
  const auto at = std::find(headings.begin(), headings.end(), heading);
  if (at == headings.end()) return "no column " + heading;
  return fields(rows.at(row)).at(static_cast<std::size_t>(at - headings.begin()));
}

// Six schedules of makespan <= 4 in the report fixture's flow shop: the six job permutations,
// each the same order on both machines.
std::string listedFixtureFolder() {
  const std::string folder = folderWith(fixtureFiles());
  const Captured listed = runProgramIn(folder, "optima --list six.txt");
  EXPECT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(firstLine(listed.out), "count 6");
  return folder;
}

}  // namespace

// A count without --list of the same instance, bound and count names the earlier list again, so
// that the report still matches the runs' schedules against it.
TEST(OptimaCommand, ACountWithoutAListKeepsTheEarlierListThatStillHolds) {
  const std::string folder = listedFixtureFolder();
  const std::string json = readFile(folder + "optima.json");
  EXPECT_NE(json.find("\"instanceSha256\": \""), std::string::npos) << json;
  const Captured again = runOptima(folder, "");
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.err, "");
  EXPECT_TRUE(hasLine(again.out, "list six.txt (kept)")) << again.out;
  EXPECT_EQ(readFile(folder + "optima.json"), json);

  // Run 4 of the fixture found 4 of the 6.
  const Captured page = report({"--dir", folder, "--csv", folder + "runs.csv"});
  EXPECT_EQ(page.status, 0) << page.err;
  const std::vector<std::string> rows = splitLines(readFile(folder + "runs.csv"));
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(csvColumn(rows, 4, "enumeratedOptima"), "6");
  EXPECT_EQ(csvColumn(rows, 4, "foundOfEnumerated"), "4");

  // An optima.json from before the instance digest was recorded tells jobs, machines, bound and
  // count only; those agree, so the list stays.
  writeFile(folder + "optima.json",
            "{\"jobs\": 3, \"machines\": 2, \"bound\": 4, \"count\": 6, \"complete\": true, "
            "\"list\": \"six.txt\"}\n");
  const Captured old = runOptima(folder, "--optimum");
  EXPECT_EQ(old.status, 0) << old.err;
  EXPECT_TRUE(hasLine(old.out, "list six.txt (kept)")) << old.out;
}

TEST(OptimaCommand, RefusesToLeaveTheEarlierListUnnamed) {
  const std::string folder = listedFixtureFolder();
  const std::string json = readFile(folder + "optima.json");
  const std::string list = readFile(folder + "six.txt");
  const std::string named =
      "jobshop-niching optima: optima.json names the list six.txt (6 schedules of makespan <= 4), "
      "which this count would leave unnamed (";
  const std::string ways =
      "): give --list FILE to write a new list with it, or --force to replace optima.json anyway\n";
  const Captured bound = runOptima(folder, "--bound 5");
  EXPECT_EQ(bound.status, 1);
  EXPECT_EQ(bound.out, "");
  EXPECT_EQ(bound.err, named + "the bound is 5, the list's 4" + ways);

  const Captured limited = runOptima(folder, "--limit 3");
  EXPECT_EQ(limited.status, 1);
  EXPECT_EQ(limited.out, "");
  EXPECT_EQ(limited.err, named + "this count found 3 schedules, the list holds 6" + ways);

  // The same shape with other times is another instance.
  writeFile(folder + "D_Entrada.txt", "3\n2\n4\n1 1\n1 1\n2 1\n1 2\n1 2\n1 2\n");
  const Captured changed = runOptima(folder, "");
  EXPECT_EQ(changed.status, 1);
  EXPECT_EQ(changed.err, named + "D_Entrada.txt has changed since the list was written" + ways);

  EXPECT_EQ(readFile(folder + "optima.json"), json);
  EXPECT_EQ(readFile(folder + "six.txt"), list);
}

TEST(OptimaCommand, ForceOrANewListReplacesTheEarlierOne) {
  const std::string folder = listedFixtureFolder();
  const std::string list = readFile(folder + "six.txt");
  const Captured forced = runOptima(folder, "--bound 5 --force");
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_EQ(forced.err, "");
  OptimaInFolder loaded = loadEnumeratedOptima(folder);
  ASSERT_TRUE(loaded) << loaded.reason();
  ASSERT_TRUE(*loaded);
  EXPECT_EQ((*loaded)->bound, 5);
  EXPECT_EQ((*loaded)->listFile, "");
  EXPECT_EQ(readFile(folder + "six.txt"), list) << "the list itself is left as it was";

  const std::string relisted = listedFixtureFolder();
  const Captured listed = runOptima(relisted, "--bound 5 --list five.txt");
  EXPECT_EQ(listed.status, 0) << listed.err;
  loaded = loadEnumeratedOptima(relisted);
  ASSERT_TRUE(loaded) << loaded.reason();
  ASSERT_TRUE(*loaded);
  EXPECT_EQ((*loaded)->listFile, "five.txt");
  EXPECT_EQ(static_cast<std::int64_t>((*loaded)->schedules.size()), (*loaded)->count);
}

}  // namespace jobshop
