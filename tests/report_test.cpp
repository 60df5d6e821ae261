// The report command: splitting the five result files into runs, reporting files that disagree,
// the CSV, and the page as well-formed markup with its charts; once on the program's own files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "report/gantt_chart.h"
#include "report/optimum_union.h"
#include "report/progress_charts.h"
#include "report/result_records.h"
#include "report/run_summary.h"
#include "results/result_file_parsing.h"
#include "run/report_command.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// Three jobs that all visit machine 1 then machine 2 for one time unit: every permutation
// schedule has makespan 4, the target, so runs can hold several distinct optima.
const char* const kFlowShop = "3\n2\n4\n1 1\n1 1\n1 1\n1 2\n1 2\n1 2\n";

// Two executions' worth of runs: run 1 stays above the target, run 2 has one optimum, run 3
// three (average distance 28/6) and run 4 four (average distance 60/12), one more than is drawn.
std::map<std::string, std::string> fixtureFiles() {
  return {
      {"D_Entrada.txt", kFlowShop},
      {"D_Sal_Mejores.txt",
       "7.0 0\n5.0 3\n\n6.0 0\n4.0 2\n\n4.0 0\n\n8.0 0\n6.0 1\n5.0 4\n4.0 9\n\n"},
      {"D_Sal_Optimos.txt", "5.0\n4.0\n4.0\n4.0\n"},
      {"D_Sal_NumOptimos.txt", "1\n3\n4\n"},
      {"D_Sal_Distancias.txt", "4.67\n5.00\n"},
      {"D_Sal_Soluciones.txt",
       "1 2 3 1 2 3 4 \n\n"
       "1 2 3 1 2 3 4 \n1 3 2 1 3 2 4 \n2 3 1 2 3 1 4 \n\n"
       "1 2 3 1 2 3 4 \n3 2 1 3 2 1 4 \n2 1 3 2 1 3 4 \n1 3 2 1 3 2 4 \n\n"},
  };
}

// Without "optima.json" and "executions.jsonl" the enumeration's columns (4) and the recorded
// ones (13, then the 19 parameters) stay empty.
const std::string kRecordedColumns =
    "enumeratedOptima,enumerationBound,enumerationComplete,foundOfEnumerated,execution,seed,"
    "clock,seedGiven,wallClock,started,version,seconds,generations,evaluations,"
    "targetGeneration,cut,abandonedGeneration,populationSize,maxEvaluations,runCount,"
    "crossoverPercent,mutationPercent,"
    "scrambleMutationEnabled,insertionMutationEnabled,swapMutationEnabled,"
    "neighbourSwapMutationEnabled,segmentWrapCrossoverEnabled,cycleCrossoverEnabled,"
    "segmentFillCrossoverEnabled,maskKeepCrossoverEnabled,maskReorderCrossoverEnabled,"
    "segmentInsertCrossoverEnabled,precedenceCrossoverEnabled,mateCandidates,crowdingGroups,"
    "crowdingGroupSize";
const std::string kNoRecord(36, ',');
const std::string kFixtureCsv =
    "run,best_makespan,reached_target,distinct_optima,average_distance,improving_generations,"
    "last_improving_generation," +
    kRecordedColumns + "\n" + "1,5.0,no,,,1,3" + kNoRecord + "\n" + "2,4.0,yes,1,,1,2" + kNoRecord +
    "\n" + "3,4.0,yes,3,4.67,0,0" + kNoRecord + "\n" + "4,4.0,yes,4,5.00,3,9" + kNoRecord + "\n";

std::string folderWith(const std::map<std::string, std::string>& files) {
  const std::string folder = makeTempFolder();
  for (const auto& [name, text] : files) writeFile(folder + name, text);
  return folder;
}

std::map<std::string, std::string> contentsOf(const std::string& folder,
                                              const std::map<std::string, std::string>& files) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : files) {
    contents[entry.first] = fileExists(folder + entry.first) ? readFile(folder + entry.first) : "";
  }
  return contents;
}

struct Outcome {
  int status;
  std::string out, err;
};

Outcome report(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = runReportCommand(args, out, err);
  return {status, out.str(), err.str()};
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

bool haveXmllint() { return std::system("xmllint --version > /dev/null 2>&1") == 0; }

// Output of a shell command and its exit status.
std::pair<int, std::string> capture(const std::string& command) {
  std::string output;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, output};
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  const int raw = pclose(pipe);
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, output};
}

// The string value of an XPath expression over an HTML file or fragment; the HTML parser ignores
// namespaces, so that plain element names match inside the page's SVG too.
std::string xpath(const std::string& file, const std::string& expression) {
  std::string value =
      capture("xmllint --html --xpath '" + expression + "' '" + file + "' 2>/dev/null").second;
  if (!value.empty() && value.back() == '\n') value.pop_back();
  return value;
}

std::string xpathOfText(const std::string& markup, const std::string& expression) {
  const std::string file = makeTempFolder() + "fragment.html";
  writeFile(file, "<html><body>" + markup + "</body></html>");
  return xpath(file, expression);
}

// Two execution records for the fixture's four runs: the first with a given seed, the second under
// the wall clock, each with one parameter more than the documented ones.
std::string fixtureLog() {
  const std::string parameters =
      "\"parameters\":{\"populationSize\":2,\"maxEvaluations\":40,\"runCount\":2,"
      "\"swapMutationEnabled\":true,\"futureKnob\":\"x,y\"}";
  return "{\"program\":\"jobshop-niching\",\"version\":\"1.0.0\",\"started\":"
         "\"2026-12-09T03:40:00Z\",\"seed\":17,\"seedGiven\":true,\"wallClock\":false,"
         "\"instance\":{\"jobs\":3,\"machines\":2,\"target\":4,\"sha256\":\"ab\"}," +
         parameters +
         ",\"runs\":[{\"run\":1,\"bestMakespan\":5.0,\"generations\":12,\"evaluations\":26,"
         "\"targetGeneration\":null,\"distinctOptima\":0,\"seconds\":0.25},"
         "{\"run\":2,\"bestMakespan\":4.0,\"generations\":9,\"evaluations\":20,"
         "\"targetGeneration\":2,\"distinctOptima\":1,\"seconds\":0.5}],\"exitStatus\":0}\n"
         "\n"
         "{\"version\":\"1.0.1\",\"started\":\"2026-12-10T00:00:00Z\",\"seed\":null,"
         "\"seedGiven\":false,\"wallClock\":true," +
         parameters +
         ",\"runs\":[{\"run\":1,\"bestMakespan\":4.0,\"generations\":3,\"evaluations\":8,"
         "\"targetGeneration\":0,\"seconds\":1.0},{\"run\":2,\"bestMakespan\":4.0,"
         "\"generations\":30,\"evaluations\":62,\"targetGeneration\":9,\"seconds\":2.0}]}\n";
}

RunRecord runEndingAt(int run, double best, int targetMakespan) {
  RunRecord record;
  record.run = run;
  record.best = best;
  record.reachedTarget = best <= targetMakespan;
  record.progress = {{best + 10.0, 0}, {best, 5}};
  return record;
}

int countElements(const std::string& page, const std::string& className) {
  auto [status, output] =
      capture("xmllint --xpath 'count(//*[@class=\"" + className + "\"])' '" + page + "'");
  return status == 0 ? std::stoi(output) : -1;
}

}  // namespace

TEST(ReportRecords, SplitsTheFilesIntoRuns) {
  const std::string folder = folderWith(fixtureFiles());
  const ResultRecords records =
      loadResultRecords(folder, makeInstance(3, 2, {1, 1, 1, 1, 1, 1}, {1, 2, 1, 2, 1, 2}, 4));
  EXPECT_TRUE(records.problems.empty()) << records.problems.front();
  ASSERT_EQ(records.runs.size(), 4u);
  const RunRecord& above = records.runs[0];
  EXPECT_FALSE(above.reachedTarget);
  EXPECT_FALSE(above.distinctOptima);
  EXPECT_TRUE(above.solutions.empty());
  ASSERT_EQ(above.progress.size(), 2u);
  EXPECT_EQ(above.progress[1].generation, 3);
  EXPECT_EQ(records.runs[1].distinctOptima, 1);
  EXPECT_FALSE(records.runs[1].averageDistance);
  const RunRecord& three = records.runs[2];
  EXPECT_EQ(three.distinctOptima, 3);
  EXPECT_DOUBLE_EQ(three.averageDistance.value_or(0.0), 4.67);
  ASSERT_EQ(three.solutions.size(), 3u);
  EXPECT_EQ(three.solutions[1].line, 4);
  EXPECT_EQ(three.solutions[1].sequences, (std::vector<int>{1, 3, 2, 1, 3, 2}));
  EXPECT_EQ(three.solutions[1].makespan, 4);
  EXPECT_EQ(records.runs[3].solutions.size(), 4u);
  EXPECT_EQ(records.runs[3].progress.back().makespan, 4.0);
}

TEST(ReportCommand, WritesThePageAndTheCsvAndLeavesTheFilesAlone) {
  const auto files = fixtureFiles();
  const std::string folder = folderWith(files);
  const Outcome outcome = report({"--dir", folder, "--csv", folder + "runs.csv"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(readFile(folder + "runs.csv"), kFixtureCsv);
  const std::string page = readFile(folder + "report.html");
  EXPECT_EQ(occurrences(page, "class=\"gantt\""), 7u);  // 1 + 3 + the first 3 of 4
  EXPECT_EQ(occurrences(page, "class=\"series\""), 4u);
  EXPECT_NE(page.find("Optimum 4 (D_Sal_Soluciones.txt line 10, also found by run 3):</span> "
                      "<span class=\"order\"><b>M1</b> 1 3 2</span> "
                      "<span class=\"order\"><b>M2</b> 1 3 2</span>"),
            std::string::npos);
  EXPECT_EQ(page.find("do not agree"), std::string::npos);
  EXPECT_NE(page.find("has no executions.jsonl"), std::string::npos);
  for (const char* outside : {"<script", "src=", "url("}) {
    EXPECT_EQ(page.find(outside), std::string::npos) << outside;
  }
  // Links stay within the page.
  EXPECT_GT(occurrences(page, "href=\"#"), 0u);
  EXPECT_EQ(occurrences(page, "href="), occurrences(page, "href=\"#"));
  EXPECT_EQ(contentsOf(folder, files), files);

  const Outcome elsewhere = report({"--dir", folder, "--output", folder + "other.html"});
  EXPECT_EQ(elsewhere.status, 0);
  EXPECT_EQ(readFile(folder + "other.html"), page);
}

TEST(ReportCommand, FilesThatDisagreeAreReportedAndExitOne) {
  struct Case {
    std::string file, text, expected;
  };
  const Case cases[] = {
      {"D_Sal_NumOptimos.txt", "1\n3\n4\n2\n",
       "D_Sal_NumOptimos.txt holds 1 line more than the runs account for (from line 4 on)"},
      {"D_Sal_NumOptimos.txt", "1\n2\n4\n",
       "D_Sal_NumOptimos.txt line 2 counts 2 distinct optima for run 3, but its block at "
       "D_Sal_Soluciones.txt line 3 holds 3 lines"},
      {"D_Sal_Distancias.txt", "4.67\n5.50\n",
       "D_Sal_Distancias.txt line 2 gives run 4 an average distance of 5.50, but its solutions "
       "give 5.00"},
      {"D_Sal_Distancias.txt", "4.67\n",
       "run 4: it has 4 distinct optima but D_Sal_Distancias.txt has no line left for it"},
      {"D_Sal_Optimos.txt", "5.0\n4.0x\n4.0\n4.0\n",
       "D_Sal_Optimos.txt line 2: expected one number, found \"4.0x\""},
      {"D_Sal_Optimos.txt", "5.0\n4.0\n4.0\n",
       "D_Sal_Mejores.txt holds 4 run records but D_Sal_Optimos.txt holds 3 lines"},
      {"D_Sal_Mejores.txt", "7.0 0\n5.0 3\n\n6.0 0\n4.0 2\n\n4.0 0\n\n8.0 0\n6.0 1\n",
       "D_Sal_Mejores.txt line 9: the last record is not closed by an empty line"},
      {"D_Sal_Mejores.txt", "7.0 1\n5.0 3\n\n6.0 0\n4.0 2\n\n4.0 0\n\n8.0 0\n4.0 9\n\n",
       "D_Sal_Mejores.txt line 1: a record should start with generation 0, not 1"},
      {"D_Sal_Mejores.txt", "7.0 0\n6.0 3\n\n6.0 0\n4.0 2\n\n4.0 0\n\n8.0 0\n4.0 9\n\n",
       "D_Sal_Optimos.txt line 1 gives run 1 the best 5.0, but its record at D_Sal_Mejores.txt "
       "line 1 ends at 6.0"},
      {"D_Sal_Soluciones.txt", "1 2 3 1 2 x 4 \n\n",
       "D_Sal_Soluciones.txt line 1: expected whole numbers only, found \"1 2 3 1 2 x 4 \""},
      {"D_Sal_Soluciones.txt", "1 2 3 1 2 3 \n\n",
       "D_Sal_Soluciones.txt line 1: expected 7 numbers (6 machine-sequence entries and the "
       "makespan), found 6"},
      // A target that changed between the runs and the report puts run 1 among the analysed.
      {"D_Entrada.txt", "3\n2\n5\n1 1\n1 1\n1 1\n1 2\n1 2\n1 2\n",
       "D_Sal_Soluciones.txt line 1: makespan 4 is not run 1's best, 5.0"},
  };
  for (const Case& c : cases) {
    auto files = fixtureFiles();
    files[c.file] = c.text;
    const std::string folder = folderWith(files);
    const Outcome outcome = report({"--dir", folder, "--csv", folder + "runs.csv"});
    EXPECT_EQ(outcome.status, 1) << c.expected;
    EXPECT_NE(outcome.err.find(c.expected), std::string::npos) << outcome.err;
    const std::string page = readFile(folder + "report.html");
    EXPECT_NE(page.find("The result files do not agree"), std::string::npos) << c.expected;
    EXPECT_NE(page.find("<li>"), std::string::npos);
    EXPECT_TRUE(fileExists(folder + "runs.csv"));
    EXPECT_EQ(contentsOf(folder, files), files) << c.expected;
  }
}

TEST(ReportCommand, SolutionsThatAreNoScheduleOfTheInstanceAreNotDrawn) {
  auto files = fixtureFiles();
  // Machine 2 in the order 2 1 3 after machine 1's 1 2 3 ends at 5, not at the recorded 4.
  files["D_Sal_Soluciones.txt"].replace(0, 14, "1 2 3 2 1 3 4 ");
  // Run 4's last optimum with a cycle is impossible in a flow shop; a job named twice is not.
  files["D_Sal_Soluciones.txt"].replace(files["D_Sal_Soluciones.txt"].rfind("1 3 2 1 3 2 4 "), 14,
                                        "1 3 3 1 3 2 4 ");
  const std::string folder = folderWith(files);
  const Outcome outcome = report({"--dir", folder});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("D_Sal_Soluciones.txt line 1 (run 2): rebuilt from its machine "
                             "orders it ends at 5, not at the recorded makespan 4"),
            std::string::npos)
      << outcome.err;
  EXPECT_NE(outcome.err.find("line 10 (run 4): machine 1's order names job 3 twice"),
            std::string::npos);
  const std::string page = readFile(folder + "report.html");
  EXPECT_EQ(occurrences(page, "class=\"gantt\""), 6u);
  EXPECT_EQ(occurrences(page, "class=\"unusable\""), 2u);
  EXPECT_EQ(contentsOf(folder, files), files);
}

TEST(ReportCommand, UsageAndInputErrors) {
  const auto files = fixtureFiles();
  const std::string folder = folderWith(files);
  EXPECT_EQ(report({"--bogus"}).status, 2);
  EXPECT_EQ(report({"--dir"}).status, 2);
  EXPECT_EQ(report({"--dir", folder, "extra"}).status, 2);
  const Outcome clobber = report({"--dir", folder, "--output", folder + "D_Sal_Optimos.txt"});
  EXPECT_EQ(clobber.status, 2);
  EXPECT_NE(clobber.err.find(kReportUsage), std::string::npos);
  EXPECT_EQ(report({"--dir", folder, "--csv", folder + "report.html"}).status, 2);
  EXPECT_EQ(contentsOf(folder, files), files);
  EXPECT_FALSE(fileExists(folder + "report.html"));
  const Outcome help = report({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, std::string(kReportUsage) + "\n");

  const Outcome unwritable = report({"--dir", folder, "--output", folder + "no/such/page.html"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("cannot write the report"), std::string::npos);

  const std::string empty = makeTempFolder();
  const Outcome noInstance = report({"--dir", empty});
  EXPECT_EQ(noInstance.status, 1);
  EXPECT_FALSE(fileExists(empty + "report.html"));
  writeFile(empty + "D_Entrada.txt", kFlowShop);
  const Outcome noResults = report({"--dir", empty});
  EXPECT_EQ(noResults.status, 1);
  EXPECT_NE(noResults.err.find("none of the five result files"), std::string::npos);
}

TEST(ReportCommand, RefusesOutputsThatAreAnyOfItsInputs) {
  auto files = fixtureFiles();
  files["executions.jsonl"] = "";
  files["optima.json"] =
      "{\"jobs\": 3, \"machines\": 2, \"bound\": 4, \"count\": 6, \"complete\": true, "
      "\"list\": \"all.txt\"}\n";
  files["all.txt"] = "";
  const std::string folder = folderWith(files);
  const std::string elsewhere = makeTempFolder();
  std::filesystem::create_hard_link(folder + "D_Sal_Optimos.txt", elsewhere + "bests.txt");
  std::filesystem::create_symlink(folder + "D_Sal_Mejores.txt", elsewhere + "page.html");
  const std::vector<std::vector<std::string>> refused = {
      {"--output", folder + "executions.jsonl"},
      {"--output", folder + "optima.json"},
      {"--csv", folder + "all.txt"},
      {"--csv", elsewhere + "bests.txt"},
      {"--output", elsewhere + "page.html"},
  };
  for (std::vector<std::string> args : refused) {
    args.insert(args.begin(), {"--dir", folder});
    const Outcome outcome = report(args);
    EXPECT_EQ(outcome.status, 2) << args.back();
    EXPECT_EQ(outcome.out, "") << args.back();
    EXPECT_EQ(outcome.err.rfind("jobshop-niching report: " + args.back() + " is ", 0), 0u)
        << outcome.err;
    EXPECT_EQ(contentsOf(folder, files), files) << args.back();
  }
  EXPECT_FALSE(fileExists(folder + "report.html"));
  // The default page in a folder where report.html links to an input.
  std::filesystem::create_symlink("D_Sal_Soluciones.txt", folder + "report.html");
  EXPECT_EQ(report({"--dir", folder}).status, 2);
  EXPECT_EQ(contentsOf(folder, files), files);
}

TEST(ReportPage, ParsesAsXmlWithTheChartsAndSeries) {
  if (!haveXmllint()) GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
  // A folder name with markup characters must come out escaped.
  const std::string folder = makeTempFolder() + "a&b <c>/";
  ASSERT_EQ(std::system(("mkdir '" + folder + "'").c_str()), 0);
  for (const auto& [name, text] : fixtureFiles()) writeFile(folder + name, text);
  ASSERT_EQ(report({"--dir", folder}).status, 0);
  const std::string page = folder + "report.html";
  EXPECT_EQ(capture("xmllint --noout '" + page + "' 2>&1"), std::make_pair(0, std::string()));
  EXPECT_EQ(countElements(page, "gantt"), 7);
  EXPECT_EQ(countElements(page, "series"), 4);
  EXPECT_EQ(countElements(page, "convergence"), 1);
  EXPECT_EQ(countElements(page, "histogram"), 1);
  EXPECT_EQ(countElements(page, "bin"), 2);  // best 4 (three runs) and best 5 (one)
  EXPECT_EQ(countElements(page, "operation"), 7 * 6);

  // The disagreement list is part of the markup too.
  writeFile(folder + "D_Sal_Distancias.txt", "4.67 & more\n5.00\n");
  EXPECT_EQ(report({"--dir", folder}).status, 1);
  EXPECT_EQ(capture("xmllint --noout '" + page + "' 2>&1"), std::make_pair(0, std::string()));
}

TEST(ReportCharts, HistogramBinsWideRangesAndPlotsSkipRunsWithoutProgress) {
  std::vector<RunRecord> runs;
  for (int k = 0; k < 30; ++k) {
    RunRecord run;
    run.run = k + 1;
    run.best = 1000.0 + 37.0 * k;  // 1000 .. 2073
    run.reachedTarget = run.best <= 1200.0;
    if (k % 2 == 0) run.progress = {{run.best + 50.0, 0}, {run.best, 10 * k + 1}};
    runs.push_back(run);
  }
  const std::string histogram = makespanHistogram(runs, 1200);
  const std::size_t bins = occurrences(histogram, "class=\"bin\"");
  EXPECT_GT(bins, 5u);
  EXPECT_LE(bins, 40u);
  EXPECT_NE(histogram.find("class=\"bar reached\""), std::string::npos);
  EXPECT_NE(histogram.find("class=\"bar missed\""), std::string::npos);
  EXPECT_EQ(occurrences(convergencePlot(runs, 1200), "class=\"series\""), 15u);
  EXPECT_EQ(occurrences(convergencePlot({}, 1200), "class=\"series\""), 0u);

  // A bar gets its job number only where the number fits.
  SemiActiveSchedule schedule;
  schedule.makespan = 1000;
  schedule.operations = {{1, 1, 1, 0, 999}, {2, 1, 1, 999, 1000}};
  const std::string gantt = ganttChart(schedule, makeInstance(2, 1, {999, 1}, {1, 1}));
  EXPECT_EQ(occurrences(gantt, "class=\"bar-label\""), 1u);
}

TEST(ReportProgram, TwoExecutionsOfTheProgramAlignRunByRun) {
  // Two random individuals per run and no generation: some runs stay above the target, others
  // end with one or two distinct optima.
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", kFlowShop);
  const int values[19] = {2, 2, 8, 80, 20, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 3, 1, 2};
  std::string parameters;
  for (int value : values) parameters += "label\n" + std::to_string(value) + "\n";
  writeFile(folder + "D_Algoritmo.txt", parameters);
  const std::string run = "cd '" + folder + "' && " + JOBSHOP_PROGRAM + " --seed 7 > /dev/null";
  ASSERT_EQ(std::system(run.c_str()), 0);
  ASSERT_EQ(std::system(run.c_str()), 0);

  const Outcome outcome = report({"--dir", folder, "--csv", folder + "runs.csv"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  std::istringstream csv(readFile(folder + "runs.csv"));
  std::istringstream bests(readFile(folder + "D_Sal_Optimos.txt"));
  std::string row, best;
  std::getline(csv, row);
  std::vector<std::string> rows;
  int above = 0, single = 0, several = 0;
  std::size_t drawn = 0;
  while (std::getline(csv, row)) {
    rows.push_back(row.substr(row.find(',')));
    ASSERT_TRUE(std::getline(bests, best));
    EXPECT_EQ(row.substr(0, row.find(',', row.find(',') + 1)),
              std::to_string(rows.size()) + "," + best);
    const std::size_t optima = row.find(",yes,");
    if (optima == std::string::npos) {
      ++above;
      continue;
    }
    const int count = std::stoi(row.substr(optima + 5));
    (count == 1 ? single : several) += 1;
    drawn += static_cast<std::size_t>(std::min(count, 3));
  }
  ASSERT_EQ(rows.size(), 16u);
  // The same seed twice: the second execution's runs repeat the first's.
  for (std::size_t k = 0; k < 8; ++k) EXPECT_EQ(rows[k], rows[k + 8]);
  EXPECT_GT(above, 0);
  EXPECT_GT(single, 0);
  EXPECT_GT(several, 0);
  EXPECT_EQ(occurrences(readFile(folder + "report.html"), "class=\"gantt\""), drawn);
}

TEST(ReportOptima, SchedulesFoundBySeveralRunsAreCountedOnce) {
  // Runs 2, 3 and 4 all record machine orders 1 2 3 | 1 2 3; run 3 and 4 share 1 3 2 | 1 3 2.
  const std::string folder = folderWith(fixtureFiles());
  const ResultRecords records =
      loadResultRecords(folder, makeInstance(3, 2, {1, 1, 1, 1, 1, 1}, {1, 2, 1, 2, 1, 2}, 4));
  const OptimumUnion optima = uniteOptima(records.runs);
  ASSERT_EQ(optima.schedules.size(), 5u);
  EXPECT_EQ(optima.schedules[0].runs, (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(optima.schedules[0].firstLine, 1);
  EXPECT_EQ(optima.schedules[1].runs, (std::vector<int>{3, 4}));
  EXPECT_EQ(optima.indexOf[3][3], 1u);  // run 4's fourth optimum is the shared 1 3 2
  EXPECT_TRUE(optima.indexOf[0].empty());

  if (!haveXmllint()) GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
  ASSERT_EQ(report({"--dir", folder}).status, 0);
  const std::string page = folder + "report.html";
  EXPECT_EQ(xpath(page, "string(//*[@class=\"distinct-count\"])"), "5");
  EXPECT_EQ(xpath(page, "string(//*[@id=\"distinct-overall\"]/*[@class=\"value\"])"), "5");
  EXPECT_NE(xpath(page, "string(//*[@id=\"distinct-overall\"])").find("add up to 8"),
            std::string::npos);
  const std::string table = "//table[@class=\"shared-optima\"]/tbody/tr";
  EXPECT_EQ(xpath(page, "count(" + table + ")"), "5");
  EXPECT_EQ(xpath(page, "string(" + table + "[1]/td[@class=\"found-by\"])"), "found by 3 runs");
  EXPECT_EQ(xpath(page, "string(" + table + "[1]/td[@class=\"runs\"])"), "2, 3, 4");
  EXPECT_EQ(xpath(page, "string(" + table + "[2]/td[@class=\"found-by\"])"), "found by 2 runs");
  // Runs are folded, the first open, and the table of contents links to each.
  EXPECT_EQ(xpath(page, "count(//details[@class=\"run-optima\"])"), "3");
  EXPECT_EQ(xpath(page, "string(//details[@class=\"run-optima\"][1]/@open)"), "open");
  EXPECT_EQ(xpath(page, "count(//details[@class=\"run-optima\"][@open])"), "1");
  EXPECT_EQ(xpath(page, "count(//nav//a[@href=\"#run-4\"])"), "1");
  EXPECT_EQ(xpath(page, "count(//*[@id=\"run-4\"])"), "1");
}

TEST(ReportCharts, HistogramTargetStandsOnItsValueAndOneValueIsNoWideBlock) {
  if (!haveXmllint()) GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
  const std::vector<RunRecord> runs = {runEndingAt(1, 928.0, 930), runEndingAt(2, 930.0, 930),
                                       runEndingAt(3, 930.0, 930), runEndingAt(4, 941.0, 930)};
  const std::string histogram = makespanHistogram(runs, 930);
  const double targetX = std::stod(xpathOfText(histogram, "string(//line[@class=\"target\"]/@x1)"));
  const std::string bar = "//g[@class=\"bin\"][title=\"930: 2 runs\"]/rect";
  const double barMiddle = std::stod(xpathOfText(histogram, "string(" + bar + "/@x)")) +
                           std::stod(xpathOfText(histogram, "string(" + bar + "/@width)")) / 2.0;
  EXPECT_NEAR(targetX, barMiddle, 0.11);
  const double tickX = std::stod(xpathOfText(histogram, "string(//text[.=\"930\"]/@x)"));
  EXPECT_NEAR(targetX, tickX, 0.11);
  // The line is beneath the bars, so that it never hides them.
  EXPECT_LT(histogram.find("class=\"target\""), histogram.find("class=\"bin\""));

  // Ten runs at one makespan: one narrow bar, with empty values either side.
  std::vector<RunRecord> same;
  for (int k = 1; k <= 10; ++k) same.push_back(runEndingAt(k, 55.0, 55));
  const std::string single = makespanHistogram(same, 55);
  EXPECT_EQ(xpathOfText(single, "count(//g[@class=\"bin\"])"), "1");
  const double width =
      std::stod(xpathOfText(single, "string(//rect[@class=\"bar reached\"]/@width)"));
  EXPECT_LT(width, 972.0 / 8.0);
  EXPECT_GT(std::stoi(xpathOfText(single, "count(//text[@class=\"tick\"])")), 8);

  // A target at the right end of the axis puts its label to the left of the line.
  const std::string atRight = makespanHistogram({runEndingAt(1, 40.0, 60)}, 60);
  EXPECT_EQ(xpathOfText(atRight, "string(//text[@class=\"target-label\"]/@text-anchor)"), "end");
  EXPECT_EQ(xpathOfText(histogram, "string(//text[@class=\"target-label\"]/@text-anchor)"),
            "start");
}

TEST(ReportCharts, ConvergenceLinesEndWhereTheRunsEnded) {
  if (!haveXmllint()) GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
  std::vector<RunRecord> runs;
  for (int k = 1; k <= 5; ++k) {
    RunRecord run = runEndingAt(k, 930.0, 930);
    run.logged = LoggedRun{};
    run.logged->generations = k == 5 ? 20000 : 100;
    runs.push_back(run);
  }
  const std::string plot = convergencePlot(runs, 930);
  EXPECT_EQ(xpathOfText(plot, "string(//svg/@class)"), "convergence log");
  const double left = 64.0, right = 1060.0 - 92.0;
  // On a linear axis the 100-generation runs would end at 0.5% of the width.
  const double shortEnd =
      std::stod(xpathOfText(plot, "string((//line[@class=\"series-end\"])[1]/@x1)"));
  EXPECT_GT((shortEnd - left) / (right - left), 0.3);
  const double longEnd =
      std::stod(xpathOfText(plot, "string((//line[@class=\"series-end\"])[last()]/@x1)"));
  EXPECT_NEAR(longEnd, right, 0.11);
  EXPECT_EQ(xpathOfText(plot, "count(//circle[@class=\"reached-mark\"])"), "5");
  EXPECT_LT(plot.find("class=\"target\""), plot.find("class=\"series\""));
  const double labelX = std::stod(xpathOfText(plot, "string(//text[@class=\"target-label\"]/@x)"));
  EXPECT_GT(labelX, longEnd + 6.0);  // clear of the end markers

  // Without a record a run ends at its last improvement, and equal runs keep a linear axis.
  for (RunRecord& run : runs) run.logged.reset();
  const std::string plain = convergencePlot(runs, 930);
  EXPECT_EQ(xpathOfText(plain, "string(//svg/@class)"), "convergence");
  EXPECT_NEAR(std::stod(xpathOfText(plain, "string((//line[@class=\"series-end\"])[1]/@x1)")),
              right, 0.11);
}

TEST(ReportCharts, GanttNumbersEveryBarBeyondTwentyJobs) {
  // 24 short operations and one long one on one machine: at page width the short ones are too
  // narrow for their numbers, so the chart widens.
  std::vector<int> times(25, 10);
  times[24] = 1000;
  SemiActiveSchedule schedule;
  int clock = 0;
  for (int job = 1; job <= 25; ++job) {
    schedule.operations.push_back({job, 1, 1, clock, clock + times[job - 1]});
    clock += times[job - 1];
  }
  schedule.makespan = clock;
  const std::string gantt =
      ganttChart(schedule, makeInstance(25, 1, times, std::vector<int>(25, 1)));
  EXPECT_EQ(occurrences(gantt, "class=\"bar-label"), 25u);
  EXPECT_NE(gantt.find("class=\"gantt wide\""), std::string::npos);
  EXPECT_NE(gantt.find(">time"), std::string::npos);
}

TEST(ReportRecord, ExecutionsAreShownAndWrittenToTheCsv) {
  auto files = fixtureFiles();
  files["executions.jsonl"] = fixtureLog();
  const std::string folder = folderWith(files);
  const Outcome outcome = report({"--dir", folder, "--csv", folder + "runs.csv"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  std::istringstream csv(readFile(folder + "runs.csv"));
  std::string header, first, third;
  std::getline(csv, header);
  std::getline(csv, first);
  std::getline(csv, third);
  std::getline(csv, third);
  EXPECT_EQ(header.substr(0, header.find(",populationSize")),
            "run,best_makespan,reached_target,distinct_optima,average_distance,"
            "improving_generations,last_improving_generation,enumeratedOptima,enumerationBound,"
            "enumerationComplete,foundOfEnumerated,execution,seed,clock,seedGiven,wallClock,"
            "started,version,seconds,generations,evaluations,targetGeneration,cut,"
            "abandonedGeneration");
  EXPECT_EQ(header.substr(header.rfind(',')), ",futureKnob");  // a field later versions add
  EXPECT_EQ(first.substr(0, first.find(",2,40,2,")),
            "1,5.0,no,,,1,3,,,,,1,17,linear,true,false,2026-12-09T03:40:00Z,1.0.0,0.250,12,26,,,");
  EXPECT_EQ(first.substr(first.rfind(",\"")), ",\"x,y\"");
  EXPECT_EQ(third.substr(0, third.find(",2,40,2,")),
            "3,4.0,yes,3,4.67,0,0,,,,,2,,wall,false,true,2026-12-10T00:00:00Z,1.0.1,1.000,3,8,0,,");
  for (const char* name : {"executions.jsonl", "D_Sal_Optimos.txt"}) {
    EXPECT_EQ(readFile(folder + name), files[name]);
  }

  if (!haveXmllint()) GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
  const std::string page = folder + "report.html";
  const std::string table = "//table[@class=\"executions\"]";
  EXPECT_EQ(xpath(page, "count(" + table + "/thead/tr/th)"), "3");
  auto field = [&](const std::string& label, int execution) {
    return xpath(page, "string(" + table + "//tr[th=\"" + label + "\"]/td[" +
                           std::to_string(execution) + "])");
  };
  EXPECT_EQ(field("seed", 1), "17 (given with --seed)");
  EXPECT_EQ(field("seed", 2), "none (wall clock)");
  EXPECT_EQ(field("clock", 1), "linear");  // a record from before the field: S + k readings
  EXPECT_EQ(field("clock", 2), "wall");
  EXPECT_EQ(field("version", 2), "1.0.1");
  EXPECT_EQ(field("started (UTC)", 1), "2026-12-09T03:40:00Z");
  EXPECT_EQ(field("runs in the result files", 2),
            "3\xE2\x80\x93"
            "4");  // an en dash
  EXPECT_EQ(field("record line", 2), "3");
  EXPECT_EQ(field("swapMutationEnabled", 1), "true");
  EXPECT_EQ(field("futureKnob", 2), "x,y");
  // The runs table: run 4 made 30 generations and reached the target in generation 9.
  const std::string run4 = "//table[@class=\"runs\"]/tbody/tr[4]/td";
  EXPECT_EQ(xpath(page, "string(" + run4 + "[9])"), "2.000");
  EXPECT_EQ(xpath(page, "string(" + run4 + "[10])"), "30");
  EXPECT_EQ(xpath(page, "string(" + run4 + "[12])"), "9");
}

TEST(ReportRecord, RecordsThatCannotBeReadOrMatchedAreReported) {
  const std::string good = fixtureLog().substr(0, fixtureLog().find('\n') + 1);
  struct Case {
    std::string log, expected;
  };
  const Case cases[] = {
      {good + "{\"runs\": [1, 2\n", "executions.jsonl:2: not a JSON object ("},
      {"[1, 2]\n", "executions.jsonl:1: expected a JSON object, found array"},
      {good + "{\"parameters\":{},\"runs\":{}}\n",
       "executions.jsonl:2: \"runs\" should be an array"},
      {good + "{\"parameters\":{\"runCount\":3},\"runs\":[{},{}]}\n",
       "executions.jsonl:2: runCount is 3 but \"runs\" holds 2"},
      {good + "{\"parameters\":{},\"runs\":[{\"generations\":\"many\"}]}\n",
       "executions.jsonl:2: runs[0]: \"generations\" should be a whole number, not \"many\""},
      {good + good + good, "executions.jsonl:3: the execution records 2 runs, but only 0 of the 4"},
      {"{\"parameters\":{},\"runs\":[{\"bestMakespan\":4.0}]}\n",
       "executions.jsonl:1: run 1 of the execution ended at 4.0, but run 1 in D_Sal_Optimos.txt at "
       "5.0"},
      {"{\"instance\":{\"jobs\":3,\"machines\":3,\"target\":4},\"parameters\":{},\"runs\":[]}\n",
       "executions.jsonl:1: the execution ran on 3 jobs, 3 machines, target 4, but D_Entrada.txt "
       "holds 3 jobs, 2 machines, target 4"},
  };
  for (const Case& c : cases) {
    auto files = fixtureFiles();
    files["executions.jsonl"] = c.log;
    const std::string folder = folderWith(files);
    const Outcome outcome = report({"--dir", folder, "--csv", folder + "runs.csv"});
    EXPECT_EQ(outcome.status, 1) << c.expected;
    EXPECT_NE(outcome.err.find("jobshop-niching report: " + c.expected), std::string::npos)
        << outcome.err;
    EXPECT_NE(readFile(folder + "report.html").find("The result files do not agree"),
              std::string::npos);
    EXPECT_TRUE(fileExists(folder + "runs.csv"));
  }
}

TEST(ReportCommand, InstanceRefusalsAreWordedInEnglish) {
  const std::pair<std::string, std::string> cases[] = {
      {"3\n", "D_Entrada.txt:2: expected the number of machines, found the end of the file"},
      {"0\n2\n4\n", "D_Entrada.txt:1: the number of jobs must be at least 1, found 0"},
      {"3\n2\n4\n1 1\n1  1\n1 1\n1 2\n1 2\n1 2\n",
       "D_Entrada.txt:5: expected a whole number, found an empty field (one space too many)"},
      {"3\n2\n4\n1 1\n1 -1\n1 1\n1 2\n1 2\n1 2\n",
       "D_Entrada.txt:5: the processing time of job 2 on machine 2 must be at least 0, found -1"},
      {"3\n2\n4\n1 1\n1 1\n1 1\n1 2\n1 1\n1 2\n",
       "D_Entrada.txt:8: the routing of job 2 is not a permutation of 1..2 (machine 1 appears "
       "twice)"},
      {"3\n2\n4\n1 1\n1 1\n1 1 1\n1 2\n2 1\n1 2\n",
       "D_Entrada.txt:6: expected 6 values (3 jobs × 2 machines) on lines 4 to 6, found 7"},
  };
  for (const auto& [instance, expected] : cases) {
    auto files = fixtureFiles();
    files["D_Entrada.txt"] = instance;
    const std::string folder = folderWith(files);
    const Outcome outcome = report({"--dir", folder});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "jobshop-niching report: " + expected + "\n");
  }
  const std::string empty = makeTempFolder();
  EXPECT_EQ(report({"--dir", empty}).err,
            "jobshop-niching report: cannot open " + empty + "D_Entrada.txt\n");
}

TEST(ReportRecords, ProgressRecordsMustImproveAndNumbersNeedFractionDigits) {
  struct Case {
    std::string text;
    bool accepted;
  };
  const Case records[] = {
      {"10.0 0\n9.0 2\n7.5 3\n\n", true},  {"10.0 0\n10.0 3\n\n", false},  // the best did not fall
      {"10.0 0\n11.0 3\n\n", false},                                       // it rose
      {"10.0 0\n9.0 0\n\n", false},  // the generation did not rise
      {"10.0 0\n9.0 4\n8.0 2\n\n", false},
  };
  for (const Case& c : records) {
    std::vector<std::string> problems;
    const std::vector<ProgressRecord> parsed = parseProgressFile(c.text, problems);
    EXPECT_EQ(problems.empty(), c.accepted) << c.text;
    if (!c.accepted) {
      ASSERT_EQ(problems.size(), 1u) << c.text;
      EXPECT_NE(problems[0].find("generations should rise and makespans fall within a record"),
                std::string::npos)
          << problems[0];
    }
    EXPECT_EQ(parsed.size(), 1u) << "a faulty step still belongs to its record: " << c.text;
  }

  const Case numbers[] = {{"55.0", true}, {"55", true},    {"-3.25", true}, {"55.", false},
                          {".5", false},  {"5.5.", false}, {"-", false},    {"55.0.0", false},
                          {"1e3", false}, {"+5", false},   {"0x10", false}};
  for (const Case& c : numbers) {
    std::vector<std::string> problems;
    const std::vector<NumberLine> parsed =
        parseNumberLines(c.text + "\n", "D_Sal_Optimos.txt", false, problems);
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].value.has_value(), c.accepted) << c.text;
    EXPECT_EQ(problems.empty(), c.accepted) << c.text;
  }
  std::vector<std::string> problems;
  EXPECT_FALSE(parseNumberLines("12.\n", "D_Sal_NumOptimos.txt", true, problems)[0].value);
  EXPECT_FALSE(parseNumberLines("12.0\n", "D_Sal_NumOptimos.txt", true, problems)[0].value)
      << "a count is a whole number";
}

TEST(ReportSummary, MedianBestOfOddAndEvenRunCounts) {
  auto runsWithBests = [](const std::vector<double>& bests) {
    std::vector<RunRecord> runs;
    for (const double best : bests) {
      RunRecord run;
      run.run = static_cast<int>(runs.size()) + 1;
      run.best = best;
      runs.push_back(run);
    }
    return runs;
  };
  // Unordered on purpose: the median is of the sorted bests, not of the file order.
  EXPECT_EQ(summariseRuns(runsWithBests({9, 1, 5})).medianBest, 5.0);
  EXPECT_EQ(summariseRuns(runsWithBests({7, 4, 6, 5})).medianBest, 5.5)
      << "the mean of the two middle bests";
  EXPECT_EQ(summariseRuns(runsWithBests({3, 8})).medianBest, 5.5);
  EXPECT_EQ(summariseRuns(runsWithBests({42})).medianBest, 42.0);
  EXPECT_EQ(summariseRuns(runsWithBests({60, 55, 58, 55, 70, 57})).medianBest, 57.5);
  EXPECT_EQ(summariseRuns(runsWithBests({7, 4, 6, 5})).bestMakespan, 4.0);
  EXPECT_FALSE(summariseRuns({}).medianBest);
}

}  // namespace jobshop
