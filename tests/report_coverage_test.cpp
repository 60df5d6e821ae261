// The report against the folder's "optima.json": found k of K over all runs and per run, the
// schedules marked as enumerated, faults only where a complete enumeration must hold a schedule,
// and once on ft06 with the program's own runs and enumeration.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "report_fixture.h"
#include "results/optima_file.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// The list lines of the given job orders, each the same on both machines, at makespan 4.
std::string listOf(const std::vector<std::string>& orders) {
  std::string text;
  for (const std::string& order : orders) {
    for (int machine = 0; machine < 2; ++machine) {
      for (char job : order) text += std::string(1, job) + " ";
    }
    text += "4 \n";
  }
  return text;
}

const std::vector<std::string> kAllSix = {"123", "132", "213", "231", "312", "321"};

std::string optimaJson(std::int64_t count, bool complete, const std::string& list, int bound = 4) {
  EnumeratedOptima optima;
  optima.jobs = 3;
  optima.machines = 2;
  optima.bound = bound;
  optima.count = count;
  optima.complete = complete;
  optima.listFile = list;
  return enumeratedOptimaJson(optima);
}

// The report of folder with its CSV beside it.
Captured reportWithCsv(const std::string& folder) {
  return report({"--dir", folder, "--csv", folder + "runs.csv"});
}

// The CSV's column name of each cell of one row.
std::map<std::string, std::string> csvRow(const std::string& csv, std::size_t row) {
  std::istringstream lines(csv);
  std::string header, line;
  std::getline(lines, header);
  for (std::size_t k = 0; k < row; ++k) std::getline(lines, line);
  std::map<std::string, std::string> cells;
  std::istringstream names(header), values(line);
  std::string name, value;
  while (std::getline(names, name, ',')) {
    if (!std::getline(values, value, ',')) value.clear();
    cells[name] = value;
  }
  return cells;
}

const std::string kCoverage = "//p[@class=\"coverage\"]";
const std::string kSharedRows = "//table[@class=\"shared-optima\"]/tbody/tr";

}  // namespace

TEST(ReportCoverage, FoundOfEnumeratedOverallAndPerRun) {
  auto files = fixtureFiles();
  files["optima.json"] = optimaJson(6, true, "six.txt");
  files["six.txt"] = listOf(kAllSix);
  const std::string folder = folderWith(files);
  const Captured outcome = reportWithCsv(folder);
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string page = folder + "report.html";
  EXPECT_EQ(xpath(page, "string(" + kCoverage + "//*[@class=\"found-of-enumerated\"])"), "5");
  EXPECT_EQ(xpath(page, "string(" + kCoverage + "//*[@class=\"enumerated-count\"])"), "6");
  const std::string sentence = xpath(page, "string(" + kCoverage + ")");
  EXPECT_NE(sentence.find("; no run found the other one."), std::string::npos) << sentence;
  EXPECT_EQ(sentence.find("at least"), std::string::npos) << sentence;
  // Beside the union count the page already gave.
  EXPECT_EQ(xpath(page, "string(//*[@class=\"distinct-count\"])"), "5");
  EXPECT_EQ(xpath(page, "count(" + kSharedRows + ")"), "5");
  EXPECT_EQ(xpath(page, "count(" + kSharedRows + "/td[@class=\"enumeration listed\"])"), "5");
  // Where the list holds each: schedule 5 is 213 on both machines, the list's third line.
  EXPECT_EQ(xpath(page, "string(" + kSharedRows + "[5]/td[@class=\"enumeration listed\"])"),
            "line 3 of six.txt");
  // Per run, in the folded headings and in the runs table (run 1 missed the target).
  EXPECT_EQ(xpath(page, "string(//*[@id=\"run-3\"]//*[@class=\"run-coverage\"])"), "3 of 6");
  EXPECT_EQ(xpath(page, "string(//*[@id=\"run-4\"]//*[@class=\"run-coverage\"])"), "4 of 6");
  EXPECT_EQ(xpath(page, "string(//table[@class=\"runs\"]/tbody/tr[1]/td[@class=\"run-coverage\"])"),
            "0 of 6");
  EXPECT_EQ(xpath(page, "string(//table[@class=\"runs\"]/tbody/tr[2]/td[@class=\"run-coverage\"])"),
            "1 of 6");

  const std::string csv = readFile(folder + "runs.csv");
  const auto above = csvRow(csv, 1), four = csvRow(csv, 4);
  EXPECT_EQ(above.at("enumeratedOptima"), "6");
  EXPECT_EQ(above.at("enumerationBound"), "4");
  EXPECT_EQ(above.at("enumerationComplete"), "true");
  EXPECT_EQ(above.at("foundOfEnumerated"), "0");
  EXPECT_EQ(four.at("foundOfEnumerated"), "4");
  EXPECT_EQ(four.at("distinctOptima"), "4");
}

// With nothing left to find the sentence says so, rather than "0 listed ones no run found".
TEST(ReportCoverage, AListTheRunsFoundWhollyIsSaidToBeFound) {
  // The five the fixture's runs found: every order but 312.
  auto files = fixtureFiles();
  files["optima.json"] = optimaJson(5, true, "five.txt");
  files["five.txt"] = listOf({"123", "132", "213", "231", "321"});
  const std::string folder = folderWith(files);
  const Captured outcome = reportWithCsv(folder);
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string sentence = xpath(folder + "report.html", "string(" + kCoverage + ")");
  EXPECT_NE(sentence.find("; every listed schedule was found by some run."), std::string::npos)
      << sentence;
  EXPECT_EQ(sentence.find("no run found"), std::string::npos) << sentence;
}

TEST(ReportCoverage, OnlyACompleteEnumerationAtOrAboveTheMakespanFaultsAMissingSchedule) {
  // The list lacks 213, which run 4 recorded on line 9 of D_Sal_Soluciones.txt.
  const std::vector<std::string> withoutOne = {"123", "132", "231", "312", "321"};
  auto files = fixtureFiles();
  files["optima.json"] = optimaJson(5, true, "five.txt");
  files["five.txt"] = listOf(withoutOne);
  std::string folder = folderWith(files);
  Captured outcome = reportWithCsv(folder);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("D_Sal_Soluciones.txt line 9 (run 4): a schedule of makespan 4 that "
                             "five.txt does not hold"),
            std::string::npos)
      << outcome.err;
  std::string page = folder + "report.html";
  EXPECT_NE(xpath(page, "string(//section[@class=\"problems\"])").find("line 9 (run 4)"),
            std::string::npos);
  EXPECT_EQ(xpath(page, "string(//nav//a[@href=\"#problems\"])"), "Problems");
  EXPECT_EQ(xpath(page, "count(//td[@class=\"enumeration missing\"])"), "1");
  EXPECT_EQ(xpath(page, "string(" + kSharedRows + "[td[@class=\"enumeration missing\"]]/td[1])"),
            "5");
  EXPECT_EQ(xpath(page, "string(" + kCoverage + "//*[@class=\"found-of-enumerated\"])"), "4");
  EXPECT_NE(xpath(page, "string(" + kCoverage + "//*[@class=\"fault\"])").find("1 recorded"),
            std::string::npos);

  // Stopped early, the same list is only part of them: a lower bound, and no fault.
  files["optima.json"] = optimaJson(5, false, "five.txt");
  folder = folderWith(files);
  outcome = reportWithCsv(folder);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  page = folder + "report.html";
  const std::string sentence = xpath(page, "string(" + kCoverage + ")");
  EXPECT_NE(sentence.find("of at least 5 schedules of makespan \u2264 4 (the target, not proven"),
            std::string::npos)
      << sentence;
  EXPECT_NE(sentence.find("lower bound"), std::string::npos) << sentence;
  EXPECT_EQ(xpath(page, "string(//td[@class=\"enumeration\"])"), "not in the partial list");
  EXPECT_EQ(xpath(page, "string(//*[@id=\"run-4\"]//*[@class=\"run-coverage\"])"),
            "3 of at least 5");
  EXPECT_EQ(csvRow(readFile(folder + "runs.csv"), 4).at("enumerationComplete"), "false");

  // Complete below the runs' makespan: it cannot hold them, and none is a fault.
  files["optima.json"] = optimaJson(0, true, "none.txt", 3);
  files["none.txt"] = "";
  folder = folderWith(files);
  outcome = reportWithCsv(folder);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  page = folder + "report.html";
  EXPECT_EQ(xpath(page, "count(//td[@class=\"enumeration\"][.=\"above its bound 3\"])"), "5");
  EXPECT_NE(xpath(page, "string(" + kCoverage + ")").find("below the target 4"), std::string::npos);
}

TEST(ReportCoverage, ACountWithoutAListIsShownUnmatched) {
  auto files = fixtureFiles();
  files["optima.json"] = optimaJson(6, true, "");
  const std::string folder = folderWith(files);
  const Captured outcome = reportWithCsv(folder);
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string page = folder + "report.html";
  const std::string sentence = xpath(page, "string(" + kCoverage + ")");
  EXPECT_EQ(sentence.rfind("6 schedules of makespan \u2264 4 (the target, not proven", 0), 0)
      << sentence;
  EXPECT_NE(sentence.find("exist"), std::string::npos);
  EXPECT_NE(sentence.find("the runs found 5 distinct ones"), std::string::npos) << sentence;
  EXPECT_EQ(xpath(page, "count(//*[@class=\"found-of-enumerated\"])"), "0");
  EXPECT_EQ(xpath(page, "count(//*[contains(@class, \"enumeration\")])"), "0");
  EXPECT_EQ(xpath(page, "count(//*[@class=\"run-coverage\"])"), "0");
  const auto row = csvRow(readFile(folder + "runs.csv"), 3);
  EXPECT_EQ(row.at("enumeratedOptima"), "6");
  EXPECT_EQ(row.at("foundOfEnumerated"), "");
}

TEST(ReportCoverage, AbsentOrUnreadableEnumerations) {
  // Without optima.json nothing of the enumeration shows, and its CSV columns are empty.
  std::string folder = folderWith(fixtureFiles());
  Captured outcome = reportWithCsv(folder);
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  std::string page = folder + "report.html";
  EXPECT_EQ(xpath(page, "count(//*[@class=\"coverage\" or @class=\"run-coverage\"])"), "0");
  EXPECT_EQ(xpath(page, "count(//th[.=\"enumeration\" or .=\"of the enumeration\"])"), "0");
  const auto row = csvRow(readFile(folder + "runs.csv"), 2);
  EXPECT_EQ(
      row.at("enumeratedOptima") + row.at("enumerationComplete") + row.at("foundOfEnumerated"), "");

  // Each unreadable enumeration is a problem naming its file; the page is written all the same.
  const std::pair<std::map<std::string, std::string>, std::string> broken[] = {
      {{{"optima.json", "{\"jobs\": 3, \"machines\": 2, \"bound\": 4,"}}, "optima.json"},
      {{{"optima.json", optimaJson(6, true, "gone.txt")}}, "gone.txt"},
      {{{"optima.json", optimaJson(6, true, "six.txt")}, {"six.txt", "1 2 3 1 2 3 \n"}},
       "six.txt, line 1"},
      {{{"optima.json",
         "{\"jobs\": 4, \"machines\": 2, \"bound\": 4, \"count\": 1, "
         "\"complete\": true}"}},
       "optima.json counts the schedules of an instance of 4 jobs and 2 machines"},
  };
  for (const auto& [extra, named] : broken) {
    auto files = fixtureFiles();
    files.insert(extra.begin(), extra.end());
    folder = folderWith(files);
    outcome = reportWithCsv(folder);
    EXPECT_EQ(outcome.status, 1) << named;
    EXPECT_NE(outcome.err.find(named), std::string::npos) << outcome.err;
    page = folder + "report.html";
    EXPECT_NE(xpath(page, "string(//section[@class=\"problems\"])").find(named), std::string::npos)
        << named;
    EXPECT_EQ(xpath(page, "count(" + kCoverage + ")"), "0") << named;
    EXPECT_EQ(xpath(page, "string(//*[@class=\"distinct-count\"])"), "5") << named;
  }
}

TEST(ReportCoverage, Ft06RunsFindOnlyEnumeratedOptima) {
  const std::string folder = makeTempFolder();
  const std::string examples = std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/";
  for (const char* name : {"D_Entrada.txt", "D_Algoritmo.txt"}) {
    writeFile(folder + name, readFile(examples + name));
  }
  const std::string program = std::string("cd '") + folder + "' && " + JOBSHOP_PROGRAM;
  ASSERT_EQ(std::system((program + " --seed 5 --quiet > /dev/null 2>&1").c_str()), 0);
  ASSERT_EQ(std::system((program + " optima --list optima.txt > /dev/null").c_str()), 0);
  const Captured outcome = reportWithCsv(folder);
  ASSERT_EQ(outcome.status, 0) << outcome.err;

  const std::string page = folder + "report.html";
  EXPECT_EQ(xpath(page, "string(" + kCoverage + "//*[@class=\"enumerated-count\"])"), "53");
  const int found =
      std::stoi(xpath(page, "string(" + kCoverage + "//*[@class=\"found-of-enumerated\"])"));
  EXPECT_GT(found, 0);
  EXPECT_LE(found, 53);
  // Every distinct schedule the runs found is one of the 53.
  EXPECT_EQ(std::to_string(found), xpath(page, "string(//*[@class=\"distinct-count\"])"));
  EXPECT_EQ(xpath(page, "count(" + kSharedRows + ")"),
            xpath(page, "count(" + kSharedRows + "/td[@class=\"enumeration listed\"])"));
  const std::string csv = readFile(folder + "runs.csv");
  for (std::size_t run = 1; run <= 10; ++run) {
    const auto row = csvRow(csv, run);
    EXPECT_EQ(row.at("foundOfEnumerated"),
              row.at("reachedTarget") == "true" ? row.at("distinctOptima") : std::string("0"))
        << "run " << run;
  }
}

}  // namespace jobshop
