// The report pairs the runs of "executions.jsonl" with the records of the five result files by the
// byte offsets each run recorded: runs of an execution that left no record, and runs of another
// writer in between, neither shift nor swap the pairing; offsets that lead anywhere but to a run's
// own records are reported, never paired; records written before offsets existed pair by counting.
#include <gtest/gtest.h>

#include <array>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "program_runner.h"
#include "run/report_command.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// Three jobs that all visit machine 1 then machine 2 for one time unit; the target 4 is met by
// every permutation schedule.
const char* const kFlowShop = "3\n2\n4\n1 1\n1 1\n1 1\n1 2\n1 2\n1 2\n";

// One run's records in the five files, in the order the program lists them.
struct HandRun {
  std::array<std::string, 5> text;
  double best = 0;
};

const HandRun kAbove{{"7.0 0\n5.0 3\n\n", "5.0\n", "", "", ""}, 5.0};
const HandRun kOne{{"6.0 0\n4.0 2\n\n", "4.0\n", "1\n", "", "1 2 3 1 2 3 4 \n\n"}, 4.0};
const HandRun kThree{
    {"4.0 0\n\n", "4.0\n", "3\n", "4.67\n", "1 2 3 1 2 3 4 \n1 3 2 1 3 2 4 \n2 3 1 2 3 1 4 \n\n"},
    4.0};

using Offsets = std::array<std::size_t, 5>;

const char* const kFileNames[5] = {"D_Sal_Mejores.txt", "D_Sal_Optimos.txt", "D_Sal_NumOptimos.txt",
                                   "D_Sal_Distancias.txt", "D_Sal_Soluciones.txt"};

struct HandFiles {
  std::array<std::string, 5> text;
  // Appends the run's records to every file; where they start.
  Offsets append(const HandRun& run) {
    Offsets offsets{};
    for (std::size_t f = 0; f < 5; ++f) offsets[f] = appendTo(run, f);
    return offsets;
  }
  std::size_t appendTo(const HandRun& run, std::size_t file) {
    const std::size_t offset = text[file].size();
    text[file] += run.text[file];
    return offset;
  }
};

struct RecordedRun {
  const HandRun* run;
  std::optional<Offsets> offsets;  // nullopt: a record from before offsets existed
};

std::string recordLine(int seed, const std::vector<RecordedRun>& runs) {
  nlohmann::ordered_json record{{"program", "jobshop-niching"},
                                {"version", "1.0.0"},
                                {"started", "2026-12-09T03:40:00Z"},
                                {"seed", seed},
                                {"seedGiven", true},
                                {"wallClock", false}};
  const bool current = runs.empty() || runs.front().offsets.has_value();
  if (current) record["clock"] = "hashed";
  record["instance"] = {{"jobs", 3}, {"machines", 2}, {"target", 4}};
  record["parameters"] = {{"runCount", runs.size()}};
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (std::size_t k = 0; k < runs.size(); ++k) {
    nlohmann::ordered_json run{{"run", k + 1},
                               {"bestMakespan", runs[k].run->best},
                               {"generations", 10 + k},
                               {"evaluations", 20},
                               {"seconds", 0.5}};
    if (runs[k].offsets) {
      run["cut"] = k == 1;
      run["abandonedGeneration"] = false;
      nlohmann::ordered_json offsets;
      for (std::size_t f = 0; f < 5; ++f) offsets[kFileNames[f]] = (*runs[k].offsets)[f];
      run["offsets"] = offsets;
    }
    list.push_back(run);
  }
  record["runs"] = list;
  record["exitStatus"] = 0;
  return record.dump() + "\n";
}

std::string folderOf(const HandFiles& files, const std::string& log) {
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", kFlowShop);
  for (std::size_t f = 0; f < 5; ++f) writeFile(folder + kFileNames[f], files.text[f]);
  writeFile(folder + "executions.jsonl", log);
  return folder;
}

Captured report(const std::string& folder) {
  return captureCommand([&](std::ostream& out, std::ostream& err) {
    return runReportCommand({"--dir", folder, "--csv", folder + "runs.csv"}, out, err);
  });
}

std::vector<std::string> fields(const std::string& row) {
  std::vector<std::string> cells;
  std::string cell;
  std::istringstream in(row);
  while (std::getline(in, cell, ',')) cells.push_back(cell);
  if (!row.empty() && row.back() == ',') cells.push_back("");
  return cells;
}

// The named column of every run in the CSV the report wrote.
std::vector<std::string> column(const std::string& folder, const std::string& name) {
  std::istringstream csv(readFile(folder + "runs.csv"));
  std::string row;
  std::getline(csv, row);
  const std::vector<std::string> header = fields(row);
  const auto at = std::find(header.begin(), header.end(), name);
  std::vector<std::string> values;
  if (at == header.end()) return values;
  const std::size_t index = static_cast<std::size_t>(at - header.begin());
  while (std::getline(csv, row)) {
    const std::vector<std::string> cells = fields(row);
    values.push_back(index < cells.size() ? cells[index] : "?");
  }
  return values;
}

using Column = std::vector<std::string>;

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

}  // namespace

TEST(ReportAlignment, AnExecutionKilledBeforeItsRecordShiftsNoLaterRun) {
  HandFiles files;
  const Offsets a1 = files.append(kAbove);
  const Offsets a2 = files.append(kOne);
  files.append(kThree);  // the killed execution: records in the files, no line in the record
  files.append(kAbove);
  const Offsets b1 = files.append(kOne);
  const Offsets b2 = files.append(kThree);
  const std::string folder = folderOf(files, recordLine(1, {{&kAbove, a1}, {&kOne, a2}}) +
                                                 recordLine(3, {{&kOne, b1}, {&kThree, b2}}));
  const Captured outcome = report(folder);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(column(folder, "execution"), (Column{"1", "1", "", "", "2", "2"}));
  EXPECT_EQ(column(folder, "seed"), (Column{"1", "1", "", "", "3", "3"}));
  EXPECT_EQ(column(folder, "clock"), (Column{"hashed", "hashed", "", "", "hashed", "hashed"}));
  EXPECT_EQ(column(folder, "cut"), (Column{"false", "true", "", "", "false", "true"}));
  EXPECT_EQ(column(folder, "generations"), (Column{"10", "11", "", "", "10", "11"}));
  EXPECT_EQ(column(folder, "distinctOptima"), (Column{"", "1", "3", "", "1", "3"}));
  const std::string page = readFile(folder + "report.html");
  EXPECT_EQ(occurrences(page, ">no record</td>"), 2u);
}

TEST(ReportAlignment, RecordsBeforeOffsetsPairByCountingAroundPlacedRuns) {
  HandFiles files;
  files.append(kAbove);
  files.append(kOne);
  files.append(kThree);  // killed
  const Offsets b1 = files.append(kThree);
  const Offsets b2 = files.append(kAbove);
  const std::string folder =
      folderOf(files, recordLine(1, {{&kAbove, std::nullopt}, {&kOne, std::nullopt}}) +
                          recordLine(2, {{&kThree, b1}, {&kAbove, b2}}));
  const Captured outcome = report(folder);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(column(folder, "execution"), (Column{"1", "1", "", "2", "2"}));
  EXPECT_EQ(column(folder, "clock"), (Column{"linear", "linear", "", "hashed", "hashed"}));
  // The first record predates the run's cut field; its exit status 0 says no signal cut a run.
  EXPECT_EQ(column(folder, "cut"), (Column{"false", "false", "", "false", "true"}));
}

TEST(ReportAlignment, RunsOfTwoWritersInterleavedDifferentlyInEachFilePairWithTheirOwn) {
  // Each file received the four runs in its own order, as two writers racing would leave them.
  const HandRun* runs[4] = {&kAbove, &kOne, &kThree, &kAbove};  // A1, A2, B1, B2
  const std::size_t orders[5][4] = {
      {0, 2, 1, 3}, {2, 0, 3, 1}, {1, 2, 0, 3}, {0, 1, 2, 3}, {2, 1, 3, 0}};
  HandFiles files;
  Offsets offsets[4]{};
  for (std::size_t f = 0; f < 5; ++f) {
    for (std::size_t k : orders[f]) offsets[k][f] = files.appendTo(*runs[k], f);
  }
  const std::string folder =
      folderOf(files, recordLine(1, {{runs[0], offsets[0]}, {runs[1], offsets[1]}}) +
                          recordLine(2, {{runs[2], offsets[2]}, {runs[3], offsets[3]}}));
  const Captured outcome = report(folder);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  // Runs are numbered in the order of "D_Sal_Optimos.txt": B1, A1, B2, A2.
  EXPECT_EQ(column(folder, "execution"), (Column{"2", "1", "2", "1"}));
  EXPECT_EQ(column(folder, "generations"), (Column{"10", "10", "11", "11"}));
  EXPECT_EQ(column(folder, "distinctOptima"), (Column{"3", "", "", "1"}));
  EXPECT_EQ(column(folder, "averageDistance"), (Column{"4.67", "", "", ""}));
  EXPECT_EQ(column(folder, "improvingGenerations"), (Column{"0", "1", "1", "1"}));
}

TEST(ReportAlignment, OffsetsThatLeadElsewhereAreReportedAndNeverPaired) {
  struct Case {
    const char* what;
    std::size_t run;   // which run of the second execution is spoilt, from 0
    std::size_t file;  // which of its offsets
    // the new offset, from the true one (delta), the file's size, or another run's
    enum { kDelta, kBeyond, kFirstExecutionRun } how;
    std::size_t value;
    std::string expected;
  };
  const Case cases[] = {
      {"into a line", 1, 1, Case::kDelta, 1,
       "run 2: no record of D_Sal_Optimos.txt starts at its offset "},
      {"beyond the file", 1, 4, Case::kBeyond, 10, "run 2: its offset "},
      {"into a progress record", 1, 0, Case::kDelta, 6,
       "run 2: no record of D_Sal_Mejores.txt starts at its offset "},
      {"a count line where none was written", 0, 2, Case::kDelta, 1,
       "run 1: no record of D_Sal_NumOptimos.txt starts at its offset "},
      {"another run's records", 1, 5, Case::kFirstExecutionRun, 1,
       "run 2: the records at its offsets are already another recorded run's"},
      {"another run with another best", 0, 5, Case::kFirstExecutionRun, 1,
       "run 1: it ended at 5.0, but the line at its offset in D_Sal_Optimos.txt says 4.0"},
  };
  for (const Case& c : cases) {
    HandFiles files;
    const Offsets a1 = files.append(kOne);
    const Offsets a2 = files.append(kThree);
    Offsets b[2] = {files.append(kAbove), files.append(kThree)};
    Offsets& spoilt = b[c.run];
    std::string expectedText = c.expected;
    if (c.how == Case::kFirstExecutionRun) {
      spoilt = c.value == 0 ? a1 : a2;
    } else if (c.how == Case::kBeyond) {
      spoilt[c.file] = files.text[c.file].size() + c.value;
      expectedText += std::to_string(spoilt[c.file]) + " in " + kFileNames[c.file] +
                      " is beyond the end of the file (" +
                      std::to_string(files.text[c.file].size()) + " bytes)";
    } else {
      spoilt[c.file] += c.value;
      expectedText += std::to_string(spoilt[c.file]);
    }
    const std::string folder =
        folderOf(files, recordLine(1, {{&kOne, a1}, {&kThree, a2}}) +
                            recordLine(2, {{&kAbove, b[0]}, {&kThree, b[1]}}));
    const Captured outcome = report(folder);
    EXPECT_EQ(outcome.status, 1) << c.what;
    EXPECT_NE(outcome.err.find("jobshop-niching report: executions.jsonl:2: " + expectedText +
                               "; the run is shown without its record\n"),
              std::string::npos)
        << c.what << "\n"
        << outcome.err;
    Column expected{"1", "1", "2", "2"};
    expected[2 + c.run] = "";
    EXPECT_EQ(column(folder, "execution"), expected) << c.what;
    EXPECT_NE(readFile(folder + "report.html").find("The result files do not agree"),
              std::string::npos)
        << c.what;
  }
}

TEST(ReportAlignment, ProgramExecutionsPairWithTheirRecordsAlsoWhenOneRecordIsLost) {
  // Two random individuals per run and no generation: eight quick runs per execution, some above
  // the target, others with one or two optima.
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", kFlowShop);
  const int values[19] = {2, 2, 8, 80, 20, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 3, 1, 2};
  std::string parameters;
  for (int value : values) parameters += "label\n" + std::to_string(value) + "\n";
  writeFile(folder + "D_Algoritmo.txt", parameters);
  for (const char* seed : {"1", "2", "3"}) {
    const std::string run = "cd '" + folder + "' && " + JOBSHOP_PROGRAM + " --seed " + seed +
                            " --record --quiet > /dev/null 2>&1";
    ASSERT_EQ(std::system(run.c_str()), 0) << seed;
  }
  auto repeated = [](std::initializer_list<const char*> perExecution) {
    Column column;
    for (const char* value : perExecution) column.insert(column.end(), 8, value);
    return column;
  };
  Captured outcome = report(folder);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(column(folder, "execution"), repeated({"1", "2", "3"}));
  EXPECT_EQ(column(folder, "seed"), repeated({"1", "2", "3"}));
  EXPECT_EQ(column(folder, "cut"), repeated({"false", "false", "false"}));

  // The middle execution's line lost, as a kill between its last run and its record leaves it:
  // its runs have no record, and the third execution's runs keep theirs.
  const std::string log = readFile(folder + "executions.jsonl");
  const std::size_t second = log.find('\n') + 1;
  writeFile(folder + "executions.jsonl",
            log.substr(0, second) + log.substr(log.find('\n', second) + 1));
  outcome = report(folder);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(column(folder, "execution"), repeated({"1", "", "2"}));
  EXPECT_EQ(column(folder, "seed"), repeated({"1", "", "3"}));
  EXPECT_EQ(occurrences(readFile(folder + "report.html"), ">no record</td>"), 8u);
}

}  // namespace jobshop
