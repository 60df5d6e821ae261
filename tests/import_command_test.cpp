// The import command: converted benchmark files reproduced from both published formats, the
// default target, the output file, and the exit statuses of failures and bad arguments.
#include "run/import_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "program_runner.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// Copies of converted instances of the benchmark collection with their rows of its index.
const std::string kBenchmarks = std::string(JOBSHOP_SOURCE_DIR) + "/tests/data/benchmarks/";

struct Converted {
  int jobs = 0;
  int machines = 0;
  std::vector<std::vector<int>> times;    // machine order
  std::vector<std::vector<int>> routing;  // machines 1..M in operation order
};

Converted parseConverted(const std::string& text) {
  std::istringstream in(text);
  Converted c;
  int target = 0;
  in >> c.jobs >> c.machines >> target;
  auto readRows = [&](std::vector<std::vector<int>>& rows) {
    rows.assign(static_cast<size_t>(c.jobs), std::vector<int>(static_cast<size_t>(c.machines)));
    for (auto& row : rows)
      for (int& value : row) in >> value;
  };
  readRows(c.times);
  readRows(c.routing);
  return c;
}

int timeOfOperation(const Converted& c, size_t job, size_t operation) {
  return c.times[job][static_cast<size_t>(c.routing[job][operation] - 1)];
}

std::string standardText(const Converted& c) {
  std::ostringstream text;
  text << "# rebuilt from the converted file\n" << c.jobs << " " << c.machines << "\n";
  for (size_t j = 0; j < c.times.size(); ++j) {
    for (size_t o = 0; o < c.routing[j].size(); ++o) {
      text << (o > 0 ? "  " : "") << c.routing[j][o] - 1 << " " << timeOfOperation(c, j, o);
    }
    text << "\n";
  }
  return text.str();
}

std::string taillardText(const Converted& c) {
  std::ostringstream text;
  text << "Nb of jobs, Nb of Machines, Time seed, Machine seed, Upper bound\n"
       << c.jobs << " " << c.machines << " 1 2 3\nTimes\n";
  for (size_t j = 0; j < c.times.size(); ++j) {
    for (size_t o = 0; o < c.routing[j].size(); ++o) text << " " << timeOfOperation(c, j, o);
    text << "\n";
  }
  text << "Machines\n";
  for (const auto& row : c.routing) {
    for (int machine : row) text << " " << machine;
    text << "\n";
  }
  return text.str();
}

// The named column of the instance's row in the index excerpt.
std::string indexValue(const std::string& name, const std::string& column) {
  std::istringstream index(readFile(kBenchmarks + "index.tsv"));
  std::string header;
  std::getline(index, header);
  std::vector<std::string> columns;
  for (std::istringstream in(header); std::getline(in, header, '\t');) columns.push_back(header);
  const size_t wanted =
      static_cast<size_t>(std::find(columns.begin(), columns.end(), column) - columns.begin());
  for (std::string line; std::getline(index, line);) {
    if (line.rfind(name + "\t", 0) != 0) continue;
    std::istringstream row(line);
    std::string value;
    for (size_t k = 0; k <= wanted; ++k) std::getline(row, value, '\t');
    return value;
  }
  return "(missing)";
}

Captured runImport(const std::vector<std::string>& args) {
  return captureCommand(
      [&](std::ostream& out, std::ostream& err) { return runImportCommand(args, out, err); });
}

std::string thirdLine(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  for (int k = 0; k < 3; ++k) std::getline(in, line);
  return line;
}

}  // namespace

TEST(ImportCommand, ReproducesConvertedBenchmarksFromBothFormats) {
  const std::string folder = makeTempFolder();
  for (const std::string name : {"ft06", "la01", "ta01"}) {
    const std::string converted = readFile(kBenchmarks + name + ".txt");
    ASSERT_FALSE(converted.empty()) << name;
    const Converted parsed = parseConverted(converted);
    const std::string target = indexValue(name, "target");
    writeFile(folder + "standard.txt", standardText(parsed));
    writeFile(folder + "taillard.txt", taillardText(parsed));
    for (const std::string file : {"standard.txt", "taillard.txt"}) {
      const Captured outcome = runImport({"--target", target, folder + file});
      EXPECT_EQ(outcome.status, 0) << name << " " << file << ": " << outcome.err;
      EXPECT_EQ(outcome.err, "");
      EXPECT_EQ(outcome.out, converted) << name << " " << file;
    }
  }
}

TEST(ImportCommand, DefaultTargetIsTheClassicLowerBound) {
  // For these two the index's lower bound is the classic one: the largest machine load.
  const std::string folder = makeTempFolder();
  for (const std::string name : {"la01", "ta31"}) {
    const std::string converted = readFile(kBenchmarks + name + ".txt");
    writeFile(folder + "in.txt", standardText(parseConverted(converted)));
    const Captured outcome = runImport({folder + "in.txt"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(thirdLine(outcome.out), indexValue(name, "lower_bound")) << name;
  }
}

TEST(ImportCommand, WritesTheOutputFileOnlyWhenAsked) {
  const std::string folder = makeTempFolder();
  writeFile(folder + "in.txt", "2 3\n0 3 1 2 2 4\n2 1 0 2 1 5\n");
  writeFile(folder + "D_Entrada.txt", "old contents\n");
  Captured outcome = runImport({folder + "in.txt", "--output", folder + "D_Entrada.txt"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(readFile(folder + "D_Entrada.txt"), "2\n3\n9\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n");
  EXPECT_EQ(outcome.out,
            "Wrote " + folder + "D_Entrada.txt: 2 jobs, 3 machines, target 9 (the lower bound)\n");

  // A target below the bound is written as given, with a warning.
  outcome = runImport({"--output", folder + "low.txt", "--target", "5", folder + "in.txt"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(thirdLine(readFile(folder + "low.txt")), "5");
  EXPECT_EQ(outcome.out, "Wrote " + folder + "low.txt: 2 jobs, 3 machines, target 5\n");
  EXPECT_NE(outcome.err.find("warning: target 5 is below the lower bound 9"), std::string::npos)
      << outcome.err;
}

TEST(ImportCommand, RefusesAnOutputThatIsTheInstanceBeingImported) {
  const std::string folder = makeTempFolder();
  const std::string original = "2 3\n0 3 1 2 2 4\n2 1 0 2 1 5\n";
  writeFile(folder + "in.txt", original);
  std::filesystem::create_hard_link(folder + "in.txt", folder + "hard.txt");
  std::filesystem::create_symlink("in.txt", folder + "soft.txt");
  for (const std::string& output :
       {folder + "in.txt", folder + "./in.txt", folder + "hard.txt", folder + "soft.txt"}) {
    const Captured outcome = runImport({folder + "in.txt", "--output", output});
    EXPECT_EQ(outcome.status, 2) << output;
    EXPECT_EQ(outcome.out, "") << output;
    EXPECT_EQ(outcome.err, "jobshop-niching import: --output " + output +
                               " is the instance file being imported\n" + kImportUsage + "\n");
    EXPECT_EQ(readFile(folder + "in.txt"), original) << output;
  }
}

TEST(ImportCommand, TargetFromTheTaillardUpperBound) {
  const std::string folder = makeTempFolder();
  const std::string blocks = "Times\n3 2 4\n1 2 5\nMachines\n1 2 3\n3 1 2\n";
  writeFile(folder + "bounds.txt", "2 3 840612802 398197754 12 9\n" + blocks);

  // The lower bound stays the default; the note tells of the header's bound.
  Captured outcome = runImport({folder + "bounds.txt"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(thirdLine(outcome.out), "9");
  EXPECT_EQ(outcome.err,
            "jobshop-niching import: note: the header's upper bound is 12; the target is the lower "
            "bound 9 (use --target ub for the upper bound)\n");

  outcome = runImport({"--target", "ub", "--output", folder + "ub.txt", folder + "bounds.txt"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(readFile(folder + "ub.txt"), "2\n3\n12\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n");
  EXPECT_EQ(outcome.out, "Wrote " + folder +
                             "ub.txt: 2 jobs, 3 machines, target 12 (the header's upper bound)\n");

  // A given target needs no note; an upper bound below the lower bound draws the warning.
  writeFile(folder + "low.txt", "2 3 1 2 8\n" + blocks);
  outcome = runImport({"--target", "10", folder + "low.txt"});
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(thirdLine(outcome.out), "10");
  outcome = runImport({"--target", "ub", folder + "low.txt"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(thirdLine(outcome.out), "8");
  EXPECT_NE(outcome.err.find("warning: target 8 is below the lower bound 9"), std::string::npos)
      << outcome.err;

  // Without an upper bound nothing is written.
  writeFile(folder + "seeds.txt", "2 3 1 2\n" + blocks);
  writeFile(folder + "standard.txt", "2 3\n0 3 1 2 2 4\n2 1 0 2 1 5\n");
  for (const std::string file : {"seeds.txt", "standard.txt"}) {
    outcome = runImport({"--target", "ub", "--output", folder + "none.txt", folder + file});
    EXPECT_EQ(outcome.status, 1) << file;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "jobshop-niching import: " + folder + file +
                               " has no upper bound for --target ub (the fifth number of a "
                               "Taillard header: J, M, time seed, machine seed, upper bound)\n");
    EXPECT_FALSE(std::filesystem::exists(folder + "none.txt"));
  }
}

TEST(ImportCommand, InputAndOutputFailuresExitWithOne) {
  const std::string folder = makeTempFolder();
  Captured outcome = runImport({folder + "mis\x1bsing.txt"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err.rfind(folder + "mis\\x1bsing.txt: cannot open the file (", 0), 0u)
      << outcome.err;

  writeFile(folder + "bad.txt", "2 3\n0 3 1 2 5 4\n2 1 0 2 1 5\n");
  outcome = runImport({folder + "bad.txt", "--output", folder + "out.txt"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err,
            folder + "bad.txt:2: job 1, operation 3: machine 5 is out of range 0..2\n");
  EXPECT_FALSE(std::filesystem::exists(folder + "out.txt"));

  writeFile(folder + "in.txt", "1 1\n0 7\n");
  outcome = runImport({folder + "in.txt", "--output", folder + "no/such/folder.txt"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err, "jobshop-niching import: cannot write " + folder +
                             "no/such/folder.txt (No such file or directory)\n");

  // A full disk shows only when the buffered text is flushed.
  if (std::filesystem::exists("/dev/full")) {
    outcome = runImport({folder + "in.txt", "--output", "/dev/full"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err,
              "jobshop-niching import: cannot write /dev/full (No space left on device)\n");
  }

  std::ostringstream brokenOut;
  brokenOut.setstate(std::ios::badbit);
  std::ostringstream err;
  EXPECT_EQ(runImportCommand({folder + "in.txt"}, brokenOut, err), 1);
  EXPECT_EQ(err.str(), "jobshop-niching import: cannot write to standard output\n");
}

TEST(ImportCommand, BadArgumentsExitWithTwoAndTheUsage) {
  const std::string usage = std::string(kImportUsage) + "\n";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "expected one instance file, found 0"},
      {{"a.txt", "b.txt"}, "expected one instance file, found 2"},
      {{"a.txt", "--target"}, "--target needs a value"},
      {{"--output"}, "--output needs a value"},
      {{"--target", "abc", "a.txt"},
       "--target needs a whole number from 0 to 2147483647 or \"ub\", found \"abc\""},
      {{"--target", "-1", "a.txt"},
       "--target needs a whole number from 0 to 2147483647 or \"ub\", found \"-1\""},
      {{"--target", "2147483648", "a.txt"},
       "--target needs a whole number from 0 to 2147483647 or \"ub\", found \"2147483648\""},
      {{"--target", "\x1b]0;x\x07", "a.txt"},
       "--target needs a whole number from 0 to 2147483647 or \"ub\", found \"\\x1b]0;x\\x07\""},
      {{"--target", "5", "--target", "6", "a.txt"}, "--target is given more than once"},
      {{"--target", "ub", "--target", "ub", "a.txt"}, "--target is given more than once"},
      {{"--tagret", "5", "a.txt"}, "unknown option --tagret (did you mean --target?)"},
  };
  for (const auto& [args, reason] : cases) {
    const Captured outcome = runImport(args);
    EXPECT_EQ(outcome.status, 2) << reason;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "jobshop-niching import: " + reason + "\n" + usage);
  }
  const Captured help = runImport({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind(usage, 0), 0u) << "the usage line first";
}

}  // namespace jobshop

namespace jobshop {

// The instances the benchmark collection ships are "D_Entrada.txt" files already (bench/instances
// holds copies): importing one gives it back, with its own target unless --target replaces it.
TEST(ImportCommand, ADEntradaFileComesBackUnchanged) {
  const std::string path = std::string(JOBSHOP_SOURCE_DIR) + "/bench/instances/la02/D_Entrada.txt";
  const std::string original = readFile(path);
  ASSERT_FALSE(original.empty());
  const Captured same = runImport({path});
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.err, "");
  EXPECT_EQ(same.out, original);

  const std::string folder = makeTempFolder();
  const Captured written = runImport({"--target", "700", "--output", folder + "out.txt", path});
  EXPECT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(written.out, "Wrote " + folder + "out.txt: 10 jobs, 5 machines, target 700\n");
  std::string expected = original;
  expected.replace(expected.find("\n655\n"), 5, "\n700\n");
  EXPECT_EQ(readFile(folder + "out.txt"), expected);

  const Captured own = runImport({"--output", folder + "own.txt", path});
  EXPECT_EQ(own.out,
            "Wrote " + folder + "own.txt: 10 jobs, 5 machines, target 655 (the file's own)\n");
  EXPECT_EQ(readFile(folder + "own.txt"), original);
}

// Written loosely (blanks around the numbers, a carriage return, lines after the routing), the
// file is read as the main run reads it and written in its plain layout, warnings included.
TEST(ImportCommand, ADEntradaFileIsReadAsTheMainRunReadsIt) {
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", "2\r\n3\n 10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\nnotes\n");
  const Captured loose = runImport({folder + "D_Entrada.txt"});
  EXPECT_EQ(loose.status, 0) << loose.err;
  EXPECT_EQ(loose.out, "2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n");
  EXPECT_EQ(loose.err, "");

  writeFile(folder + "D_Entrada.txt", "2\n3\n10 jobs\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n");
  const Captured lossy = runImport({folder + "D_Entrada.txt"});
  EXPECT_EQ(lossy.status, 0) << lossy.err;
  EXPECT_EQ(lossy.out, "2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n");
  EXPECT_NE(lossy.err.find("D_Entrada.txt, línea 3"), std::string::npos) << lossy.err;
}

}  // namespace jobshop
