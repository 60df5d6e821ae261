// Runs a signal cut short and runs copied by an execution that repeats an earlier one: how the
// runs table, the executions table, the summary and the CSV show them, and that copies count once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "report/markup.h"
#include "report/report_tables.h"
#include "report_fixture.h"
#include "test_instances.h"

namespace jobshop {

namespace {

using Column = std::vector<std::string>;

// The CSV's values under heading, one per run; none of the columns asked for holds a comma.
Column csvColumn(const std::string& csv, const std::string& heading) {
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  std::vector<std::string> names;
  std::istringstream header(line);
  for (std::string name; std::getline(header, name, ',');) names.push_back(name);
  const std::size_t at =
      static_cast<std::size_t>(std::find(names.begin(), names.end(), heading) - names.begin());
  Column column;
  while (std::getline(lines, line)) {
    std::istringstream fields(line + ",");
    std::string field;
    for (std::size_t k = 0; k <= at && std::getline(fields, field, ','); ++k) {
    }
    column.push_back(field);
  }
  return column;
}

// A line of executions.jsonl for runs (JSON objects), with one seed, instance digest, version and
// budget of 40 evaluations, so that the lines repeat one another unless exitStatus says otherwise.
std::string logLine(int runCount, const std::string& runs, int exitStatus) {
  return "{\"version\":\"1.0.0\",\"started\":\"2026-12-09T03:40:00Z\",\"seed\":17,"
         "\"seedGiven\":true,\"wallClock\":false,\"clock\":\"hashed\",\"instance\":{\"jobs\":3,"
         "\"machines\":2,\"target\":4,\"sha256\":\"ab\"},\"parameters\":{\"maxEvaluations\":40,"
         "\"runCount\":" +
         std::to_string(runCount) + "},\"runs\":[" + runs +
         "],\"exitStatus\":" + std::to_string(exitStatus) + "}\n";
}

std::string runsTableCell(const std::string& page, int row, const std::string& cell) {
  return xpath(
      page, "string(//table[@class=\"runs\"]/tbody/tr[" + std::to_string(row) + "]/" + cell + ")");
}

std::string executionsCell(const std::string& page, const std::string& label, int execution) {
  return xpath(page, "string(//table[@class=\"executions\"]//tr[th=\"" + label + "\"]/td[" +
                         std::to_string(execution) + "])");
}

// The part of the page from the first `from` to the next `to` after it, both included.
std::string between(const std::string& page, const std::string& from, const std::string& to) {
  const std::size_t start = page.find(from);
  if (start == std::string::npos) return "missing " + from;
  return page.substr(start, page.find(to, start) + to.size() - start);
}

// The summary's cards, without what follows them.
std::string summaryCardsOf(const std::string& page) {
  const std::size_t start = page.find("<div class=\"cards\">");
  const std::size_t end = std::min({page.find("<p class=\"note repeats\">", start),
                                    page.find("<p class=\"note cut-runs\">", start),
                                    page.find("<h3>", start), page.find("</section>", start)});
  return start == std::string::npos ? std::string() : page.substr(start, end - start);
}

}  // namespace

TEST(ReportMarks, CutRunsAreMarkedInBothTablesTheCardsAndTheCsv) {
  // Run 2 is cut by its record; the second execution predates the field, so its exit status and
  // each run's evaluations tell: run 3 spent its budget, run 4 records no evaluations.
  auto files = fixtureFiles();
  files["executions.jsonl"] =
      "{\"seed\":3,\"clock\":\"hashed\",\"parameters\":{\"maxEvaluations\":5000000,"
      "\"runCount\":2},\"runs\":[{\"run\":1,\"evaluations\":5000040,\"cut\":false},"
      "{\"run\":2,\"evaluations\":2300000,\"cut\":true}],\"exitStatus\":130}\n"
      "{\"seed\":4,\"clock\":\"hashed\",\"parameters\":{\"maxEvaluations\":5000000,"
      "\"runCount\":3},\"runs\":[{\"run\":1,\"evaluations\":5000100},{\"run\":2}],"
      "\"exitStatus\":143}\n";
  const std::string folder = folderWith(files);
  const Captured outcome = report({"--dir", folder, "--csv", folder + "runs.csv"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string csv = readFile(folder + "runs.csv");
  EXPECT_EQ(csvColumn(csv, "cut"), (Column{"false", "true", "false", "true"}));
  EXPECT_EQ(csvColumn(csv, "exitStatus"), (Column{"130", "130", "143", "143"}));
  EXPECT_EQ(csvColumn(csv, "repeatsRun"), (Column{"", "", "", ""}));

  const std::string page = folder + "report.html";
  EXPECT_EQ(runsTableCell(page, 1, "td[@class=\"note\"]"), "");
  EXPECT_EQ(runsTableCell(page, 2, "td[@class=\"note\"]"),
            "cut after 2,300,000 of 5,000,000 evaluations");
  EXPECT_EQ(runsTableCell(page, 2, "@class"), "reached cut");
  EXPECT_EQ(runsTableCell(page, 2, "td[11]"), "2,300,000");
  EXPECT_EQ(runsTableCell(page, 3, "td[@class=\"note\"]"), "");
  EXPECT_EQ(runsTableCell(page, 4, "td[@class=\"note\"]"), "cut short");
  EXPECT_EQ(xpath(page, "string(//*[@id=\"runs-cut\"])"), "2runs cut short");
  // Where the figures are, that they count the cut runs.
  EXPECT_EQ(xpath(page, "string(//*[@id=\"summary\"]/p[@class=\"note cut-runs\"])"),
            "Of the 4 runs, 2 were cut short by a stop (run 2: cut after 2,300,000 of 5,000,000 "
            "evaluations; run 4: cut short); they count in every figure of this page, with what "
            "they had found when stopped.");
  EXPECT_EQ(executionsCell(page, "exit status", 1), "130: stopped by SIGINT, 2 of 2 runs recorded");
  EXPECT_EQ(executionsCell(page, "exit status", 2),
            "143: stopped by SIGTERM, 2 of 3 runs recorded");
  EXPECT_EQ(executionsCell(page, "repeat", 1), "no");
  // A whole-number setting reads with separators, as the note beside it does.
  EXPECT_EQ(executionsCell(page, "maxEvaluations", 1), "5,000,000");
}

TEST(ReportMarks, AnExecutionRepeatedWithTheSameSeedCountsItsRunsOnce) {
  // Eight quick runs on the flow shop, some above the target, others with one or two optima; the
  // same execution made once in one folder and twice in another.
  const int values[19] = {2, 2, 8, 80, 20, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 3, 1, 2};
  std::string parameters;
  for (int value : values) parameters += "label\n" + std::to_string(value) + "\n";
  const std::string once = makeTempFolder();
  const std::string twice = makeTempFolder();
  for (const std::string& folder : {once, twice}) {
    writeFile(folder + "D_Entrada.txt", kFlowShop);
    writeFile(folder + "D_Algoritmo.txt", parameters);
    const std::string run =
        "cd '" + folder + "' && " + JOBSHOP_PROGRAM + " --seed 7 --quiet > /dev/null 2>&1";
    ASSERT_EQ(std::system(run.c_str()), 0);
    if (folder == twice) {
      ASSERT_EQ(std::system(run.c_str()), 0);
    }
  }
  for (const std::string& folder : {once, twice}) {
    const Captured outcome = report({"--dir", folder, "--csv", folder + "runs.csv"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
  }
  const Column copies = csvColumn(readFile(twice + "runs.csv"), "repeatsRun");
  EXPECT_EQ(copies,
            (Column{"", "", "", "", "", "", "", "", "1", "2", "3", "4", "5", "6", "7", "8"}));

  // Every figure is the one execution's: the cards, the charts and the schedules over all runs.
  const std::string one = readFile(once + "report.html");
  const std::string two = readFile(twice + "report.html");
  EXPECT_EQ(summaryCardsOf(two), summaryCardsOf(one));
  EXPECT_EQ(between(two, "<table class=\"measures\">", "</table>"),
            between(one, "<table class=\"measures\">", "</table>"));
  EXPECT_FALSE(between(one, "<table class=\"measures\">", "</table>").starts_with("missing"));
  for (const char* from : {"<section id=\"convergence\">", "<section id=\"histogram\">",
                           "<section id=\"optima-overall\">"}) {
    EXPECT_EQ(between(two, from, "</section>"), between(one, from, "</section>")) << from;
  }
  EXPECT_EQ(between(two, "<p class=\"note repeats\">", "</p>"),
            "<p class=\"note repeats\">Execution 2 repeats execution 1; its 8 runs are shown but "
            "counted once.</p>");
  EXPECT_EQ(one.find("<p class=\"note repeats\">"), std::string::npos);

  const std::string page = twice + "report.html";
  EXPECT_EQ(xpath(page, "count(//table[@class=\"runs\"]/tbody/tr)"), "16");
  EXPECT_EQ(runsTableCell(page, 9, "td[@class=\"note\"]"), "copy of run 1");
  EXPECT_EQ(runsTableCell(page, 1, "td[@class=\"note\"]"), "");
  EXPECT_EQ(executionsCell(page, "repeat", 1), "no");
  EXPECT_EQ(executionsCell(page, "repeat", 2), "repeats execution 1: its runs are copies");
  EXPECT_EQ(xpath(page, "count(//*[@id=\"runs-cut\"])"), "0");
  EXPECT_EQ(xpath(page, "count(//p[@class=\"note cut-runs\"])"), "0");
}

TEST(ReportMarks, RunsThatEndedElsewhereThanTheRepeatedOnesCount) {
  // The first execution was stopped in its run 2 (files runs 1 and 2); the second, the same
  // again, made both runs whole (files runs 3 and 4): its run 1 copies run 1, its run 2 ended
  // elsewhere than run 2 and counts. The third was stopped sooner in its run 1 (file run 5),
  // which holds another population than run 1 and counts too.
  auto files = fixtureFiles();
  files["D_Sal_Mejores.txt"] =
      "7.0 0\n5.0 3\n\n6.0 0\n4.0 2\n\n7.0 0\n5.0 3\n\n6.0 0\n4.0 2\n\n7.0 0\n5.0 3\n\n";
  files["D_Sal_Optimos.txt"] = "5.0\n4.0\n5.0\n4.0\n5.0\n";
  files["D_Sal_NumOptimos.txt"] = "1\n3\n";
  files["D_Sal_Distancias.txt"] = "4.67\n";
  files["D_Sal_Soluciones.txt"] =
      "1 2 3 1 2 3 4 \n\n1 2 3 1 2 3 4 \n1 3 2 1 3 2 4 \n2 3 1 2 3 1 4 \n\n";
  const std::string whole = "{\"run\":1,\"evaluations\":40,\"cut\":false}";
  files["executions.jsonl"] =
      logLine(2, whole + ",{\"run\":2,\"evaluations\":30,\"cut\":true}", 130) +
      logLine(2, whole + ",{\"run\":2,\"evaluations\":40,\"cut\":false}", 0) +
      logLine(2, "{\"run\":1,\"evaluations\":20,\"cut\":true}", 143);
  const std::string folder = folderWith(files);
  const Captured outcome = report({"--dir", folder, "--csv", folder + "runs.csv"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(csvColumn(readFile(folder + "runs.csv"), "repeatsRun"), (Column{"", "", "1", "", ""}));
  const std::string page = readFile(folder + "report.html");
  EXPECT_EQ(between(page, "<p class=\"note repeats\">", "</p>"),
            "<p class=\"note repeats\">Execution 2 repeats execution 1; 1 of its 2 runs is a copy, "
            "shown but counted once; the other run ended where no earlier run did and counts. "
            "Execution 3 "
            "repeats execution 1, but its 1 run ended where no earlier run did, so it counts.</p>");
  // Runs 1, 2, 4 and 5 count: two above the target, two at it; runs 2 and 5 cut short.
  EXPECT_NE(page.find("<div class=\"value\">4</div><div class=\"label\">runs</div>"),
            std::string::npos);
  EXPECT_NE(page.find("<div class=\"value\">2 of 4</div><div class=\"label\">runs reached"),
            std::string::npos);
  EXPECT_NE(page.find("<div class=\"value\">2</div><div class=\"label\">runs cut short</div>"),
            std::string::npos);

  EXPECT_EQ(executionsCell(folder + "report.html", "repeat", 2),
            "repeats execution 1: 1 of its 2 runs is a copy");
  EXPECT_EQ(executionsCell(folder + "report.html", "repeat", 3),
            "repeats execution 1: none of its runs is a copy");
  EXPECT_EQ(runsTableCell(folder + "report.html", 2, "td[@class=\"note\"]"),
            "cut after 30 of 40 evaluations");
}

TEST(ReportMarks, CardsAgreeInNumberAndCallSchedulesOptimaOnlyWhenProven) {
  ReportSummary one;
  one.runs = 1;
  one.runsCut = 1;
  one.runsReachingTarget = 1;
  one.fewestOptima = one.mostOptima = one.distinctOptimaOverall = 2;
  one.totalOptima = 2;
  one.runsWithDistance = 1;
  one.bestMakespan = one.medianBest = 4.0;
  const Instance instance = makeInstance(3, 2, {1, 1, 1, 1, 1, 1}, {1, 2, 1, 2, 1, 2}, 4);
  const std::string unproven = summaryCards(one, instance, std::nullopt);
  for (const char* part :
       {"<div class=\"label\">run</div>", ">run cut short<", ">run reached the target<",
        "(1 run with two or more)", "distinct schedules at or below the target over all runs"}) {
    EXPECT_NE(unproven.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(unproven.find("optim"), std::string::npos) << unproven;
  EXPECT_EQ(unproven.find("1 runs"), std::string::npos) << unproven;

  OptimaCoverage coverage;
  coverage.target = 4;
  coverage.listed = true;
  coverage.foundOverall = 40;
  coverage.enumeration.bound = 4;
  coverage.enumeration.count = 53;
  coverage.enumeration.complete = coverage.enumeration.optimal = true;
  coverage.enumeration.listFile = "optima.txt";
  const std::string proven = summaryCards(one, instance, coverage);
  EXPECT_NE(proven.find("<div class=\"value\">40 of 53</div><div class=\"label\">optimal "
                        "schedules found by the runs</div>"),
            std::string::npos)
      << proven;
  EXPECT_NE(proven.find("distinct optima over all runs"), std::string::npos);

  // Counted above the target and stopped early: no optimum is known.
  coverage.enumeration.bound = 5;
  coverage.enumeration.complete = coverage.enumeration.optimal = false;
  const std::string partial = summaryCards(one, instance, coverage);
  EXPECT_NE(partial.find("<div class=\"value\">40 of at least 53</div><div class=\"label\">"
                         "enumerated schedules of makespan &#8804; 5 found by the runs</div>"),
            std::string::npos)
      << partial;
  EXPECT_EQ(partial.find("optim"), std::string::npos) << partial;

  one.runsCut = 0;
  EXPECT_EQ(summaryCards(one, instance, std::nullopt).find("cut short"), std::string::npos);
  ReportSummary ten = one;
  ten.runs = 10;
  EXPECT_NE(summaryCards(ten, instance, std::nullopt)
                .find("1 of 10</div><div class=\"label\">runs reached the target<"),
            std::string::npos);
  EXPECT_EQ(groupedNumber(999), "999");
  EXPECT_EQ(groupedNumber(1000), "1,000");
  EXPECT_EQ(groupedNumber(-1234567), "-1,234,567");
}

}  // namespace jobshop
