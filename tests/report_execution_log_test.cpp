// The executions of "executions.jsonl" in the page and the CSV, and records that cannot be read or
// matched to the runs of the result files.
#include <gtest/gtest.h>

#include <sstream>

#include "report_fixture.h"
#include "test_instances.h"

namespace jobshop {

TEST(ReportRecord, ExecutionsAreShownAndWrittenToTheCsv) {
  auto files = fixtureFiles();
  files["executions.jsonl"] = fixtureLog();
  const std::string folder = folderWith(files);
  const Captured outcome = report({"--dir", folder, "--csv", folder + "runs.csv"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  std::istringstream csv(readFile(folder + "runs.csv"));
  std::string header, first, third;
  std::getline(csv, header);
  std::getline(csv, first);
  std::getline(csv, third);
  std::getline(csv, third);
  EXPECT_EQ(header.substr(0, header.find(",populationSize")),
            "run,bestMakespan,reachedTarget,distinctOptima,averageDistance,"
            "improvingGenerations,lastImprovingGeneration,enumeratedOptima,enumerationBound,"
            "enumerationComplete,foundOfEnumerated,execution,seed,clock,seedGiven,wallClock,"
            "started,version,seconds,generations,evaluations,targetGeneration,cut,"
            "abandonedGeneration,exitStatus,repeatsRun");
  // A field later versions add comes last among the parameters, before the trace's measures.
  EXPECT_NE(header.find(",futureKnob,held,found,"), std::string::npos) << header;
  EXPECT_EQ(
      first.substr(0, first.find(",2,40,2,")),
      "1,5.0,false,,,1,3,,,,,1,17,linear,true,false,2026-12-09T03:40:00Z,1.0.0,0.250,12,26,,false,,"
      "0,");
  EXPECT_EQ(first.substr(first.rfind(",\"")), ",\"x,y\",,,,,,,,,") << "and no trace";
  EXPECT_EQ(
      third.substr(0, third.find(",2,40,2,")),
      "3,4.0,true,3,4.67,0,0,,,,,2,,wall,false,true,2026-12-10T00:00:00Z,1.0.1,1.000,3,8,0,,,,");
  for (const char* name : {"executions.jsonl", "D_Sal_Optimos.txt"}) {
    EXPECT_EQ(readFile(folder + name), files[name]);
  }

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
  // Settings that differ between the two executions are highlighted, and the note says so; the
  // seed differs by design and is not a setting.
  auto rowClass = [&](const std::string& label) {
    return xpath(page, "string(" + table + "//tr[th=\"" + label + "\"]/@class)");
  };
  EXPECT_EQ(rowClass("version"), "differs");
  EXPECT_EQ(rowClass("clock"), "differs");
  EXPECT_EQ(rowClass("populationSize"), "");
  EXPECT_EQ(rowClass("seed"), "");
  EXPECT_NE(xpath(page, "string(//section[@id=\"executions\"]/p[@class=\"note\"])")
                .find("Highlighted rows are settings that differ between the executions."),
            std::string::npos);
  // A timestamp and an option are kept whole where the column is narrow.
  EXPECT_EQ(xpath(page, "string(" + table + "//tr[th=\"started (UTC)\"]/td[1]/span/@class)"),
            "whole");
  EXPECT_EQ(xpath(page, "string(" + table + "//tr[th=\"seed\"]/td[1]/span[2])"), "--seed");
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
    const Captured outcome = report({"--dir", folder, "--csv", folder + "runs.csv"});
    EXPECT_EQ(outcome.status, 1) << c.expected;
    EXPECT_NE(outcome.err.find("jobshop-niching report: " + c.expected), std::string::npos)
        << outcome.err;
    EXPECT_NE(readFile(folder + "report.html").find("The result files do not agree"),
              std::string::npos);
    EXPECT_TRUE(fileExists(folder + "runs.csv"));
  }
}

}  // namespace jobshop
