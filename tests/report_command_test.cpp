// The report command: the page and the CSV it writes and the files it leaves alone, files that
// disagree, refused arguments and outputs, instance refusals, and the page as well-formed markup.
#include "run/report_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "report_fixture.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// Without "optima.json" and "executions.jsonl" the enumeration's columns (4) and the recorded
// ones (15, then the 19 parameters) stay empty.
const std::string kRecordedColumns =
    "enumeratedOptima,enumerationBound,enumerationComplete,foundOfEnumerated,execution,seed,"
    "clock,seedGiven,wallClock,started,version,seconds,generations,evaluations,"
    "targetGeneration,cut,abandonedGeneration,exitStatus,repeatsRun,populationSize,"
    "maxEvaluations,runCount,"
    "crossoverPercent,mutationPercent,"
    "scrambleMutationEnabled,insertionMutationEnabled,swapMutationEnabled,"
    "neighbourSwapMutationEnabled,segmentWrapCrossoverEnabled,cycleCrossoverEnabled,"
    "segmentFillCrossoverEnabled,maskKeepCrossoverEnabled,maskReorderCrossoverEnabled,"
    "segmentInsertCrossoverEnabled,precedenceCrossoverEnabled,mateCandidates,crowdingGroups,"
    "crowdingGroupSize,held,found,distinct,recall,precision,f1,foundRecall,retention,dynamicF1";
// Nothing recorded, and no trace: 38 empty fields of the record, then 9 of the measures.
const std::string kNoRecord(38 + 9, ',');
const std::string kFixtureCsv =
    "run,bestMakespan,reachedTarget,distinctOptima,averageDistance,improvingGenerations,"
    "lastImprovingGeneration," +
    kRecordedColumns + "\n" + "1,5.0,false,,,1,3" + kNoRecord + "\n" + "2,4.0,true,1,,1,2" +
    kNoRecord + "\n" + "3,4.0,true,3,4.67,0,0" + kNoRecord + "\n" + "4,4.0,true,4,5.00,3,9" +
    kNoRecord + "\n";

}  // namespace

TEST(ReportCommand, WritesThePageAndTheCsvAndLeavesTheFilesAlone) {
  const auto files = fixtureFiles();
  const std::string folder = folderWith(files);
  const Captured outcome = report({"--dir", folder, "--csv", folder + "runs.csv"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(readFile(folder + "runs.csv"), kFixtureCsv);
  const std::string page = readFile(folder + "report.html");
  EXPECT_EQ(occurrences(page, "class=\"gantt\""), 7u);  // 1 + 3 + the first 3 of 4
  EXPECT_EQ(occurrences(page, "class=\"series\""), 4u);
  EXPECT_NE(page.find("Schedule 4 (D_Sal_Soluciones.txt line 10, also found by run 3):</span> "
                      "<span class=\"order\"><b>M1</b> 1 <mark>3</mark> <mark>2</mark></span> "
                      "<span class=\"order\"><b>M2</b> 1 <mark>3</mark> <mark>2</mark></span>"),
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

  const Captured elsewhere = report({"--dir", folder, "--output", folder + "other.html"});
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
  int singleProblems = 0;
  for (const Case& c : cases) {
    auto files = fixtureFiles();
    files[c.file] = c.text;
    const std::string folder = folderWith(files);
    const Captured outcome = report({"--dir", folder, "--csv", folder + "runs.csv"});
    EXPECT_EQ(outcome.status, 1) << c.expected;
    EXPECT_NE(outcome.err.find(c.expected), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.out.find(" 1 problems)"), std::string::npos) << outcome.out;
    if (outcome.out.find(" (4 runs, 1 problem)\n") != std::string::npos) ++singleProblems;
    const std::string page = readFile(folder + "report.html");
    EXPECT_NE(page.find("The result files do not agree"), std::string::npos) << c.expected;
    EXPECT_NE(page.find("<li>"), std::string::npos);
    EXPECT_TRUE(fileExists(folder + "runs.csv"));
    EXPECT_EQ(contentsOf(folder, files), files) << c.expected;
  }
  EXPECT_GT(singleProblems, 0) << "the noun agrees with one problem";
}

TEST(ReportCommand, SolutionsThatAreNoScheduleOfTheInstanceAreNotDrawn) {
  auto files = fixtureFiles();
  // Machine 2 in the order 2 1 3 after machine 1's 1 2 3 ends at 5, not at the recorded 4.
  files["D_Sal_Soluciones.txt"].replace(0, 14, "1 2 3 2 1 3 4 ");
  // Run 4's last optimum with a cycle is impossible in a flow shop; a job named twice is not.
  files["D_Sal_Soluciones.txt"].replace(files["D_Sal_Soluciones.txt"].rfind("1 3 2 1 3 2 4 "), 14,
                                        "1 3 3 1 3 2 4 ");
  const std::string folder = folderWith(files);
  const Captured outcome = report({"--dir", folder});
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
  const Captured clobber = report({"--dir", folder, "--output", folder + "D_Sal_Optimos.txt"});
  EXPECT_EQ(clobber.status, 2);
  EXPECT_NE(clobber.err.find(kReportUsage), std::string::npos);
  EXPECT_EQ(report({"--dir", folder, "--csv", folder + "report.html"}).status, 2);
  EXPECT_EQ(contentsOf(folder, files), files);
  EXPECT_FALSE(fileExists(folder + "report.html"));
  const Captured help = report({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind(std::string(kReportUsage) + "\n", 0), 0u) << "the usage line first";

  const Captured unwritable = report({"--dir", folder, "--output", folder + "no/such/page.html"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("cannot write the report"), std::string::npos);

  const std::string empty = makeTempFolder();
  const Captured noInstance = report({"--dir", empty});
  EXPECT_EQ(noInstance.status, 1);
  EXPECT_FALSE(fileExists(empty + "report.html"));
  writeFile(empty + "D_Entrada.txt", kFlowShop);
  const Captured noResults = report({"--dir", empty});
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
      {"--json", folder + "D_Sal_Soluciones.txt"},
      {"--json", elsewhere + "bests.txt"},
      {"--schedules-csv", folder + "all.txt"},
      {"--schedules-csv", folder + "./D_Entrada.txt"},
  };
  for (std::vector<std::string> args : refused) {
    args.insert(args.begin(), {"--dir", folder});
    const Captured outcome = report(args);
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

// Two outputs naming one file would leave only the last written; nothing is written then.
TEST(ReportCommand, RefusesTwoOutputsNamingOneFile) {
  const auto files = fixtureFiles();
  const std::string folder = folderWith(files);
  const std::string a = folder + "a.out";
  const std::string same = folder + "./a.out";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--json", a, "--csv", same}, "--json and --csv name the same file"},
      {{"--schedules-csv", a, "--csv", same}, "--schedules-csv and --csv name the same file"},
      {{"--json", a, "--schedules-csv", same}, "--json and --schedules-csv name the same file"},
      {{"--json", folder + "report.html"}, "--json and --output name the same file"},
      {{"--schedules-csv", a, "--output", same}, "--schedules-csv and --output name the same file"},
      {{"--csv", a, "--output", same}, "--csv and --output name the same file"},
  };
  for (const auto& [options, why] : cases) {
    std::vector<std::string> args{"--dir", folder};
    args.insert(args.end(), options.begin(), options.end());
    const Captured outcome = report(args);
    EXPECT_EQ(outcome.status, 2) << why;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "jobshop-niching report: " + why + "\n" + kReportUsage + "\n");
    EXPECT_FALSE(fileExists(a)) << why;
    EXPECT_FALSE(fileExists(folder + "report.html")) << why;
  }
  EXPECT_EQ(report({"--dir", folder, "--json", ""}).status, 2) << "an empty name is no file";
}

// An output that cannot be written is named, the others are still written, and the status is 1.
TEST(ReportCommand, AnUnwritableMachineReadableOutputExitsOne) {
  const std::string folder = folderWith(fixtureFiles());
  const Captured json = report({"--dir", folder, "--json", folder + "no/such/report.json",
                                "--schedules-csv", folder + "schedules.csv"});
  EXPECT_EQ(json.status, 1);
  EXPECT_EQ(json.out, "");
  EXPECT_EQ(json.err.rfind("jobshop-niching report: cannot write the JSON file " + folder +
                               "no/such/report.json: ",
                           0),
            0u)
      << json.err;
  EXPECT_TRUE(fileExists(folder + "report.html"));
  EXPECT_TRUE(fileExists(folder + "schedules.csv"));
  const Captured schedules =
      report({"--dir", folder, "--schedules-csv", folder + "no/such/schedules.csv"});
  EXPECT_EQ(schedules.status, 1);
  EXPECT_NE(schedules.err.find("cannot write the schedules CSV file"), std::string::npos);
}

// The main run's words, since both read the same file: one fault reads the same from either.
TEST(ReportCommand, InstanceRefusalsAreWordedAsTheMainRunWordsThem) {
  const std::pair<std::string, std::string> cases[] = {
      {"3\n",
       "D_Entrada.txt, línea 2: se esperaba el número de máquinas, se encontró el final del "
       "archivo"},
      {"0\n2\n4\n",
       "D_Entrada.txt, línea 1: el número de trabajos debe ser al menos 1, se encontró 0"},
      {"3\n2\n4\n1 1\n1  1\n1 1\n1 2\n1 2\n1 2\n",
       "D_Entrada.txt, línea 5: se esperaba un número entero, se encontró un campo vacío (un "
       "espacio de más)"},
      {"3\n2\n4\n1 1\n1 -1\n1 1\n1 2\n1 2\n1 2\n",
       "D_Entrada.txt, línea 5: el tiempo de proceso del trabajo 2 en la máquina 2 debe ser al "
       "menos 0, se encontró -1"},
      {"3\n2\n4\n1 1\n1 1\n1 1\n1 2\n1 1\n1 2\n",
       "D_Entrada.txt, línea 8: la ruta del trabajo 2 no es una permutación de 1..2 (la máquina 1 "
       "se repite)"},
      {"3\n2\n4\n1 1\n1 1\n1 1 1\n1 2\n2 1\n1 2\n",
       "D_Entrada.txt, línea 6: se esperaban 6 tiempos de proceso (3 trabajos × 2 máquinas) en las "
       "líneas 4 a 6, se encontraron 7"},
  };
  for (const auto& [instance, expected] : cases) {
    auto files = fixtureFiles();
    files["D_Entrada.txt"] = instance;
    const std::string folder = folderWith(files);
    const Captured outcome = report({"--dir", folder});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "jobshop-niching report: " + expected + "\n");
  }
  const std::string empty = makeTempFolder();
  EXPECT_EQ(report({"--dir", empty}).err,
            "jobshop-niching report: No se ha podido abrir el archivo del ejemplo\n");
}

TEST(ReportPage, ParsesAsXmlWithTheChartsAndSeries) {
  // A folder name with markup characters must come out escaped.
  const std::string folder = makeTempFolder() + "a&b <c>/";
  ASSERT_EQ(std::system(("mkdir '" + folder + "'").c_str()), 0);
  for (const auto& [name, text] : fixtureFiles()) writeFile(folder + name, text);
  ASSERT_EQ(report({"--dir", folder}).status, 0);
  const std::string page = folder + "report.html";
  EXPECT_TRUE(wellFormedXml(page));
  EXPECT_EQ(countElements(page, "gantt"), 7);
  EXPECT_EQ(countElements(page, "series"), 4);
  EXPECT_EQ(countElements(page, "convergence"), 1);
  EXPECT_EQ(countElements(page, "histogram"), 1);
  EXPECT_EQ(countElements(page, "bin"), 2);  // best 4 (three runs) and best 5 (one)
  EXPECT_EQ(countElements(page, "operation") + countElements(page, "operation differs"), 7 * 6);

  // The disagreement list is part of the markup too.
  writeFile(folder + "D_Sal_Distancias.txt", "4.67 & more\n5.00\n");
  EXPECT_EQ(report({"--dir", folder}).status, 1);
  EXPECT_TRUE(wellFormedXml(page));
}

}  // namespace jobshop
