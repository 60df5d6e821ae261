// Seeded executions on ft06, with the exact count of its optima beside them: each run's measures
// in the report's JSON recounted here from the rows of "D_Sal_Traza.txt" alone, and a repeated seed
// repeating the trace and the five result files byte for byte whatever the niching method.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "program_runner.h"
#include "test_instances.h"

namespace jobshop {

namespace {

using Json = nlohmann::json;

// ft06's optimal makespan is 55, reached by 53 distinct schedules (`jobshop-niching optima`).
constexpr int kFt06Optima = 53;

// ft06 with its example parameters (20000 evaluations, a population of 100) but three runs.
std::string ft06Folder() {
  const std::string folder = makeTempFolder();
  const std::string examples = std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/";
  std::filesystem::copy(examples + "D_Entrada.txt", folder);
  std::string parameters = readFile(examples + "D_Algoritmo.txt");
  parameters.replace(parameters.find("runCount\n10"), 11, "runCount\n3");
  writeFile(folder + "D_Algoritmo.txt", parameters);
  return folder;
}

struct TraceRow {
  long long evaluations = 0;
  int distinct = 0, held = 0, found = 0;
};

// The rows of each run, by run number, read straight from the file's tab-separated columns.
std::map<int, std::vector<TraceRow>> traceRows(const std::string& path) {
  std::istringstream text(readFile(path));
  std::string line;
  std::getline(text, line);
  EXPECT_EQ(line, "run\tgeneration\tevaluations\tbest\tdistinct\theld\tfound");
  std::map<int, std::vector<TraceRow>> runs;
  while (std::getline(text, line)) {
    std::istringstream fields(line);
    int run = 0, generation = 0;
    double best = 0;
    TraceRow row;
    fields >> run >> generation >> row.evaluations >> best >> row.distinct >> row.held >> row.found;
    EXPECT_TRUE(fields && fields.eof()) << "unreadable trace line: " << line;
    EXPECT_EQ(generation, static_cast<int>(runs[run].size())) << line;
    runs[run].push_back(row);
  }
  return runs;
}

std::optional<double> ratio(double part, double whole) {
  if (whole == 0) return std::nullopt;
  return part / whole;
}

double f1(double precision, double recall) {
  return precision + recall == 0 ? 0 : 2 * precision * recall / (precision + recall);
}

double f1Of(const TraceRow& row, double k) {
  return f1(ratio(row.held, row.distinct).value_or(0), row.held / k);
}

// Each row's F1 lasts from its evaluations to the next row's, over the last row's evaluations.
double dynamicF1(const std::vector<TraceRow>& rows, double k) {
  const double whole = static_cast<double>(rows.back().evaluations);
  double sum = 0;
  for (std::size_t g = 0; g + 1 < rows.size(); ++g)
    sum += f1Of(rows[g], k) * static_cast<double>(rows[g + 1].evaluations - rows[g].evaluations) /
           whole;
  return sum;
}

void expectShare(const Json& reported, std::optional<double> recounted, const char* name) {
  SCOPED_TRACE(name);
  if (!recounted) {
    EXPECT_TRUE(reported.is_null()) << reported;
    return;
  }
  ASSERT_TRUE(reported.is_number()) << reported;
  EXPECT_NEAR(reported.get<double>(), *recounted, 1e-12);
}

void expectRecount(const Json& run, const std::vector<TraceRow>& rows, double k) {
  const TraceRow& last = rows.back();
  EXPECT_EQ(run["held"], last.held);
  EXPECT_EQ(run["found"], last.found);
  EXPECT_EQ(run["distinct"], last.distinct);
  const double precision = static_cast<double>(last.held) / last.distinct;
  const double recall = last.held / k;
  expectShare(run["recall"], recall, "recall");
  expectShare(run["precision"], precision, "precision");
  expectShare(run["f1"], f1(precision, recall), "f1");
  expectShare(run["foundRecall"], last.found / k, "foundRecall");
  expectShare(run["retention"], ratio(last.held, last.found), "retention");
  expectShare(run["dynamicF1"], dynamicF1(rows, k), "dynamicF1");
}

// Counts ft06's optima into optima.json, runs the execution and returns the report's JSON.
Json reportedRuns(const std::string& folder, const std::string& niching) {
  const Captured optima = runProgramIn(folder, "optima");
  EXPECT_EQ(optima.status, 0) << optima.err;
  const Json counted = Json::parse(readFile(folder + "optima.json"));
  EXPECT_EQ(counted["bound"], 55);
  EXPECT_EQ(counted["exact"], kFt06Optima);
  const Captured run = runProgramIn(folder, "--seed 11 --quiet " + niching);
  EXPECT_EQ(run.status, 0) << run.err;
  const Captured report = runProgramIn(folder, "report --json report.json");
  EXPECT_EQ(report.status, 0) << report.err;
  return Json::parse(readFile(folder + "report.json"))["runs"];
}

const std::vector<std::string> kResultFiles = {"D_Sal_Mejores.txt",    "D_Sal_Optimos.txt",
                                               "D_Sal_NumOptimos.txt", "D_Sal_Distancias.txt",
                                               "D_Sal_Soluciones.txt", "D_Sal_Traza.txt"};

}  // namespace

TEST(TraceMeasuresEndToEnd, TheReportsMeasuresAreThoseOfTheTraceRows) {
  int holdingRuns = 0;
  for (const std::string niching : {"", "--niching clearing"}) {
    SCOPED_TRACE("method: " + (niching.empty() ? std::string("crowding") : niching));
    const std::string folder = ft06Folder();
    const Json runs = reportedRuns(folder, niching);
    const std::map<int, std::vector<TraceRow>> traces = traceRows(folder + "D_Sal_Traza.txt");
    ASSERT_EQ(runs.size(), 3u);
    ASSERT_EQ(traces.size(), 3u);
    for (const Json& run : runs) {
      SCOPED_TRACE("run " + run["run"].dump());
      const auto trace = traces.find(run["run"].get<int>());
      ASSERT_NE(trace, traces.end());
      expectRecount(run, trace->second, kFt06Optima);
      if (trace->second.back().held > 0) ++holdingRuns;
    }
  }
  // Recounting nothing but zeros would prove little; with 20000 evaluations most runs hold some.
  EXPECT_GE(holdingRuns, 3);
}

TEST(TraceMeasuresEndToEnd, ASeedRepeatsTheTraceAndResultsOfEveryOtherMethod) {
  for (const char* method :
       {"deterministic-crowding", "restricted-tournament", "clearing", "sharing", "none"}) {
    SCOPED_TRACE(method);
    const std::string first = ft06Folder(), second = ft06Folder();
    const std::string arguments = std::string("--seed 23 --quiet --niching ") + method;
    const Captured once = runProgramIn(first, arguments);
    const Captured again = runProgramIn(second, arguments);
    ASSERT_EQ(once.status, 0) << once.err;
    EXPECT_EQ(again.status, once.status);
    EXPECT_EQ(again.out, once.out);
    EXPECT_EQ(again.err, once.err);
    EXPECT_EQ(once.out, "2\n3\n4\n");
    // Every run writes its best and its trace; the other files stay empty without an optimum.
    EXPECT_FALSE(readFile(first + "D_Sal_Mejores.txt").empty());
    EXPECT_FALSE(readFile(first + "D_Sal_Traza.txt").empty());
    for (const std::string& name : kResultFiles) {
      SCOPED_TRACE(name);
      EXPECT_EQ(readFile(second + name), readFile(first + name));
    }
  }
}

}  // namespace jobshop
