// The report's machine-readable outputs: the JSON of every figure and the CSV of the distinct
// schedules, checked against the page, the per-run CSV and the result files they come from.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "report/estimate_markup.h"
#include "report_fixture.h"
#include "support/number_format.h"
#include "test_instances.h"

namespace jobshop {

namespace {

using Json = nlohmann::json;

// A CSV table split into rows of fields; a field may be quoted (no doubled quotes are expected).
std::vector<std::vector<std::string>> csvTable(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (const char c : line) {
      if (c == '"') {
        quoted = !quoted;
      } else if (c == ',' && !quoted) {
        fields.emplace_back();
      } else {
        fields.back() += c;
      }
    }
    rows.push_back(fields);
  }
  return rows;
}

// Each data row of a CSV table as column name to field.
std::vector<std::map<std::string, std::string>> csvRecords(const std::string& text) {
  const auto table = csvTable(text);
  std::vector<std::map<std::string, std::string>> records;
  for (std::size_t r = 1; r < table.size(); ++r) {
    EXPECT_EQ(table[r].size(), table[0].size()) << "row " << r;
    std::map<std::string, std::string> record;
    for (std::size_t c = 0; c < table[0].size() && c < table[r].size(); ++c)
      record[table[0][c]] = table[r][c];
    records.push_back(record);
  }
  return records;
}

std::string spaced(const Json& numbers) {
  std::string text;
  for (const Json& number : numbers) {
    if (!text.empty()) text += ' ';
    text += number.dump();
  }
  return text;
}

// How the per-run CSV writes what the JSON holds as value: null as empty, numbers within the
// CSV's rounding (seconds to 3 decimals, distances to 2).
void expectSameField(const Json& value, const std::string& field, const std::string& where) {
  if (value.is_null()) {
    EXPECT_EQ(field, "") << where;
  } else if (value.is_boolean()) {
    EXPECT_EQ(field, value.get<bool>() ? "true" : "false") << where;
  } else if (value.is_number_integer()) {
    EXPECT_EQ(field, value.dump()) << where;
  } else if (value.is_number_float()) {
    ASSERT_FALSE(field.empty()) << where;
    EXPECT_NEAR(std::stod(field), value.get<double>(), 0.0005) << where;
  } else {
    EXPECT_EQ(field, value.get<std::string>()) << where;
  }
}

// The folder-wide columns of the per-run CSV live in the JSON's enumeration.
const std::map<std::string, std::string> kEnumerationColumns = {
    {"enumeratedOptima", "K"}, {"enumerationBound", "bound"}, {"enumerationComplete", "complete"}};

// Every column of every row of the per-run CSV is in the JSON with the same value: in the run,
// in the enumeration, or (the columns from repeatsRun to the trace's measures) in the run's
// parameters, which leave out a parameter its execution did not record.
void expectRunsAgreeWithCsv(const Json& json, const std::string& csv) {
  const auto table = csvTable(csv);
  const auto rows = csvRecords(csv);
  ASSERT_EQ(rows.size(), json["runs"].size());
  const auto parameters = std::find(table[0].begin(), table[0].end(), "repeatsRun");
  ASSERT_NE(parameters, table[0].end());
  // The trace's measures end the row; they are the run's own fields.
  const auto measures = std::find(parameters, table[0].end(), "held");
  ASSERT_NE(measures, table[0].end());
  const std::set<std::string> parameterColumns(parameters + 1, measures);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const Json& run = json["runs"][r];
    for (const auto& [column, field] : rows[r]) {
      const std::string where = "run " + std::to_string(r + 1) + " column " + column;
      if (parameterColumns.contains(column)) {
        const Json& recorded = run["parameters"];
        if (recorded.is_object() && recorded.contains(column)) {
          expectSameField(recorded[column], field, where);
        } else {
          EXPECT_EQ(field, "") << where;
        }
      } else if (kEnumerationColumns.contains(column)) {
        const Json& enumeration = json["enumeration"];
        expectSameField(
            enumeration.is_null() ? enumeration : enumeration[kEnumerationColumns.at(column)],
            field, where);
      } else {
        ASSERT_TRUE(run.contains(column)) << where;
        expectSameField(run[column], field, where);
      }
    }
  }
}

// The schedules CSV holds the JSON's schedules row for row.
void expectSchedulesAgree(const Json& json, const std::string& csv) {
  const auto table = csvTable(csv);
  ASSERT_FALSE(table.empty());
  EXPECT_EQ(table[0], (std::vector<std::string>{"id", "makespan", "sequences", "runs",
                                                "inEnumeration", "mapX", "mapY"}));
  const Json& schedules = json["schedules"];
  ASSERT_EQ(table.size(), schedules.size() + 1);
  for (std::size_t k = 0; k < schedules.size(); ++k) {
    const Json& schedule = schedules[k];
    const std::vector<std::string>& row = table[k + 1];
    ASSERT_EQ(row.size(), 7u) << k;
    EXPECT_EQ(schedule["id"], k + 1);
    EXPECT_EQ(row[0], schedule["id"].dump());
    EXPECT_EQ(row[1], schedule["makespan"].dump());
    EXPECT_EQ(row[2], spaced(schedule["sequences"]));
    EXPECT_EQ(row[3], spaced(schedule["runs"]));
    expectSameField(schedule["inEnumeration"], row[4], "inEnumeration " + row[0]);
    if (schedule["map"].is_null()) {
      EXPECT_EQ(row[5] + row[6], "") << row[0];
    } else {
      // Both files write a coordinate so that it reads back as the same double.
      EXPECT_EQ(std::stod(row[5]), schedule["map"][0].get<double>()) << row[0];
      EXPECT_EQ(std::stod(row[6]), schedule["map"][1].get<double>()) << row[0];
    }
  }
}

// What the JSON says of the schedules against the lines of "D_Sal_Soluciones.txt" and among its
// own parts: every schedule is a line there, the incidence counts agree with the schedules'
// runs, the accumulation curve ends at the observed count.
void expectSchedulesAreTheRecordedOnes(const Json& json, const std::string& solutions) {
  std::set<std::string> lines;
  std::istringstream text(solutions);
  for (std::string line; std::getline(text, line);) lines.insert(line);
  const Json& schedules = json["schedules"];
  const Json& best = json["distinctOptima"]["bestMakespan"];
  std::size_t atBest = 0, once = 0, twice = 0;
  for (const Json& schedule : schedules) {
    EXPECT_TRUE(
        lines.contains(spaced(schedule["sequences"]) + " " + schedule["makespan"].dump() + " "))
        << schedule.dump();
    EXPECT_EQ(schedule["sequences"].size(), 36u);
    if (schedule["makespan"] != best) continue;
    ++atBest;
    once += schedule["runs"].size() == 1 ? 1 : 0;
    twice += schedule["runs"].size() == 2 ? 1 : 0;
  }
  EXPECT_EQ(json["distinctOptima"]["count"], atBest);
  const Json& estimates = json["estimates"];
  ASSERT_TRUE(estimates.is_object());
  EXPECT_EQ(estimates["Q1"], once);
  EXPECT_EQ(estimates["Q2"], twice);
  EXPECT_EQ(estimates["T"], json["runs"].size());
  EXPECT_GE(estimates["chao2"].get<double>(), static_cast<double>(atBest));
  EXPECT_LE(estimates["chao2Lower"].get<double>(), estimates["chao2"].get<double>());
  EXPECT_GE(estimates["chao2Upper"].get<double>(), estimates["chao2"].get<double>());
  EXPECT_EQ(estimates["lowerBoundOnly"],
            once > 0 && (twice == 0 || estimates["coverage"].get<double>() < 0.5));
  const Json& curve = json["accumulation"];
  ASSERT_EQ(curve.size(), json["runs"].size());
  EXPECT_NEAR(curve.back().get<double>(), static_cast<double>(atBest), 1e-9);
}

// Pairs at each distance add up to the total, which is every pair of n schedules when nothing
// was sampled.
void expectHistogramOfPairs(const Json& histogram, std::size_t n) {
  ASSERT_TRUE(histogram.is_object());
  std::size_t sum = 0;
  for (const Json& pairs : histogram["pairs"]) sum += pairs.get<std::size_t>();
  EXPECT_EQ(sum, histogram["total"].get<std::size_t>());
  if (!histogram["sampled"].get<bool>()) {
    EXPECT_EQ(sum, n * (n - 1) / 2);
  }
}

struct Outputs {
  Captured outcome;
  Json json;
  std::string runsCsv, schedulesCsv, page;
};

Outputs reportAll(const std::string& folder) {
  Outputs outputs;
  outputs.outcome = report({"--dir", folder, "--csv", folder + "runs.csv", "--schedules-csv",
                            folder + "schedules.csv", "--json", folder + "report.json"});
  outputs.json = Json::parse(readFile(folder + "report.json"));
  outputs.runsCsv = readFile(folder + "runs.csv");
  outputs.schedulesCsv = readFile(folder + "schedules.csv");
  outputs.page = folder + "report.html";
  return outputs;
}

// The parameter file with the line after the runCount label set to 3.
std::string withThreeRuns(const std::string& parameters) {
  std::istringstream lines(parameters);
  std::string text, line;
  bool runCount = false;
  while (std::getline(lines, line)) {
    text += runCount ? std::string("3") : line;
    text += '\n';
    runCount = line == "runCount";
  }
  EXPECT_NE(text.find("runCount\n3\n"), std::string::npos);
  return text;
}

// ft06 with three runs of the shipped settings under seed 1, made once for the whole suite.
class ReportJsonFt06 : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    runs_ = new std::string(makeTempFolder());
    const std::string examples = std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/";
    writeFile(*runs_ + "D_Entrada.txt", readFile(examples + "D_Entrada.txt"));
    writeFile(*runs_ + "D_Algoritmo.txt", withThreeRuns(readFile(examples + "D_Algoritmo.txt")));
    const Captured run = runProgramIn(*runs_, "--seed 1 --quiet");
    ASSERT_EQ(run.status, 0) << run.err;
  }
  static void TearDownTestSuite() {
    delete runs_;
    runs_ = nullptr;
  }

  // A copy of the three runs' folder, so that each test adds its own optima.json.
  static std::string copyOfRuns() {
    const std::string folder = makeTempFolder();
    for (const char* name : {"D_Entrada.txt", "D_Algoritmo.txt", "D_Sal_Mejores.txt",
                             "D_Sal_Optimos.txt", "D_Sal_NumOptimos.txt", "D_Sal_Distancias.txt",
                             "D_Sal_Soluciones.txt", "D_Sal_Traza.txt", "executions.jsonl"}) {
      writeFile(folder + name, readFile(*runs_ + name));
    }
    return folder;
  }

  static std::string* runs_;
};

std::string* ReportJsonFt06::runs_ = nullptr;

}  // namespace

TEST_F(ReportJsonFt06, WithoutEnumerationAgreesWithThePageAndTheCsv) {
  const std::string folder = copyOfRuns();
  const Outputs outputs = reportAll(folder);
  ASSERT_EQ(outputs.outcome.status, 0) << outputs.outcome.err;
  EXPECT_EQ(outputs.outcome.out, "wrote " + folder + "report.html, " + folder + "runs.csv, " +
                                     folder + "schedules.csv and " + folder +
                                     "report.json (3 runs)\n");
  const Json& json = outputs.json;
  EXPECT_EQ(json["instance"], (Json{{"jobs", 6}, {"machines", 6}, {"target", 55}}));
  EXPECT_EQ(json["problems"], Json::array());
  expectRunsAgreeWithCsv(json, outputs.runsCsv);
  expectSchedulesAgree(json, outputs.schedulesCsv);
  expectSchedulesAreTheRecordedOnes(json, readFile(folder + "D_Sal_Soluciones.txt"));

  EXPECT_EQ(json["runs"][0]["parameters"]["populationSize"], 100);
  EXPECT_EQ(json["runs"][0]["parameters"]["segmentFillCrossoverEnabled"], true);
  EXPECT_EQ(json["runs"][2]["seed"], 1);
  EXPECT_EQ(json["runs"][2]["counted"], true);
  EXPECT_EQ(json["distinctOptima"]["bestMakespan"], 55);
  const std::size_t distinct = json["schedules"].size();
  EXPECT_EQ(xpath(outputs.page, "string(//*[@class=\"distinct-count\"])"),
            std::to_string(distinct));
  EXPECT_EQ(json["summary"]["distinctOptimaOverall"], distinct);
  EXPECT_EQ(json["summary"]["runsReachingTarget"], 3);
  EXPECT_EQ(xpath(outputs.page, "string(//*[@class=\"chao2\"])"),
            estimateText(json["estimates"]["chao2"].get<double>()));
  for (const Json& schedule : json["schedules"]) {
    EXPECT_TRUE(schedule["inEnumeration"].is_null());
    EXPECT_TRUE(schedule["map"].is_array()) << "a few schedules are all on the map";
  }
  EXPECT_TRUE(json["enumeration"].is_null());
  expectHistogramOfPairs(json["distanceHistograms"]["found"], distinct);
  EXPECT_TRUE(json["distanceHistograms"]["listed"].is_null());
  EXPECT_TRUE(json["distanceHistograms"]["nearestFound"].is_null());
}

TEST_F(ReportJsonFt06, WithAListedEnumerationAgreesWithThePageAndTheCsv) {
  const std::string folder = copyOfRuns();
  const Captured optima = runProgramIn(folder, "optima --list optima.txt");
  ASSERT_EQ(optima.status, 0) << optima.err;
  const Outputs outputs = reportAll(folder);
  ASSERT_EQ(outputs.outcome.status, 0) << outputs.outcome.err;
  const Json& json = outputs.json;
  expectRunsAgreeWithCsv(json, outputs.runsCsv);
  expectSchedulesAgree(json, outputs.schedulesCsv);

  const Json& enumeration = json["enumeration"];
  EXPECT_EQ(enumeration["K"], 53);
  EXPECT_EQ(enumeration["bound"], 55);
  EXPECT_EQ(enumeration["complete"], true);
  EXPECT_EQ(enumeration["listed"], true);
  const std::size_t found = enumeration["found"].get<std::size_t>();
  EXPECT_EQ(xpath(outputs.page, "string(//*[@class=\"found-of-enumerated\"])"),
            std::to_string(found));
  // Every schedule of makespan 55 is listed, and the runs found nothing else.
  EXPECT_EQ(found, json["schedules"].size());
  std::size_t foundByRuns = 0, runsFindingAll = 0;
  for (const Json& run : json["runs"]) {
    foundByRuns += run["foundOfEnumerated"].get<std::size_t>();
    runsFindingAll += run["foundOfEnumerated"] == 53 ? 1 : 0;
  }
  EXPECT_DOUBLE_EQ(enumeration["peakRatio"].get<double>(),
                   static_cast<double>(foundByRuns) / (53.0 * 3.0));
  EXPECT_DOUBLE_EQ(enumeration["successRate"].get<double>(),
                   static_cast<double>(runsFindingAll) / 3.0);
  EXPECT_EQ(xpath(outputs.page, "string(//*[@class=\"peak-ratio\"])"),
            fixedNumber(enumeration["peakRatio"].get<double>(), 2));
  for (const Json& schedule : json["schedules"]) EXPECT_EQ(schedule["inEnumeration"], true);

  const Json& histograms = json["distanceHistograms"];
  expectHistogramOfPairs(histograms["listed"], 53);
  ASSERT_TRUE(histograms["nearestFound"].is_object());
  EXPECT_EQ(histograms["nearestFound"]["total"], 53 - found);
}

TEST_F(ReportJsonFt06, WithACountAloneHasNothingToMatch) {
  const std::string folder = copyOfRuns();
  const Captured optima = runProgramIn(folder, "optima");
  ASSERT_EQ(optima.status, 0) << optima.err;
  const Outputs outputs = reportAll(folder);
  ASSERT_EQ(outputs.outcome.status, 0) << outputs.outcome.err;
  const Json& json = outputs.json;
  expectRunsAgreeWithCsv(json, outputs.runsCsv);
  expectSchedulesAgree(json, outputs.schedulesCsv);
  const Json& enumeration = json["enumeration"];
  EXPECT_EQ(enumeration["K"], 53);
  EXPECT_EQ(enumeration["listed"], false);
  EXPECT_TRUE(enumeration["found"].is_null());
  EXPECT_TRUE(enumeration["peakRatio"].is_null());
  EXPECT_TRUE(enumeration["successRate"].is_null());
  for (const Json& run : json["runs"]) EXPECT_TRUE(run["foundOfEnumerated"].is_null());
  for (const Json& schedule : json["schedules"]) EXPECT_TRUE(schedule["inEnumeration"].is_null());
}

// The fixture's four runs under two records: typed parameters, and a run above the target.
TEST(ReportJson, RecordedFieldsKeepTheirTypes) {
  auto files = fixtureFiles();
  files["executions.jsonl"] = fixtureLog();
  const std::string folder = folderWith(files);
  const Outputs outputs = reportAll(folder);
  ASSERT_EQ(outputs.outcome.status, 0) << outputs.outcome.err;
  const Json& json = outputs.json;
  expectRunsAgreeWithCsv(json, outputs.runsCsv);
  expectSchedulesAgree(json, outputs.schedulesCsv);
  ASSERT_EQ(json["runs"].size(), 4u);
  const Json& first = json["runs"][0];
  EXPECT_EQ(first["bestMakespan"], 5.0);
  EXPECT_EQ(first["reachedTarget"], false);
  EXPECT_TRUE(first["distinctOptima"].is_null());
  EXPECT_EQ(first["seconds"], 0.25);
  EXPECT_EQ(first["parameters"]["populationSize"], 2);
  EXPECT_EQ(first["parameters"]["swapMutationEnabled"], true);
  EXPECT_EQ(first["parameters"]["futureKnob"], "x,y");
  EXPECT_EQ(json["runs"][2]["seed"], nullptr) << "the wall clock's execution has no seed";
  EXPECT_EQ(json["runs"][2]["wallClock"], true);
  EXPECT_EQ(json["runs"][3]["averageDistance"], 5.0);
  EXPECT_EQ(json["schedules"].size(), 5u);
  EXPECT_EQ(json["schedules"][0]["runs"], (Json{2, 3, 4}));
  EXPECT_EQ(json["schedules"][0]["sequences"], (Json{1, 2, 3, 1, 2, 3}));
}

// Runs that never reached the target: no best makespan to count at, no schedules, no estimate
// for a single run.
TEST(ReportJson, RunsAboveTheTargetHaveNullFigures) {
  const std::map<std::string, std::string> files = {
      {"D_Entrada.txt", kFlowShop},   {"D_Sal_Mejores.txt", "7.0 0\n5.0 3\n\n"},
      {"D_Sal_Optimos.txt", "5.0\n"}, {"D_Sal_NumOptimos.txt", ""},
      {"D_Sal_Distancias.txt", ""},   {"D_Sal_Soluciones.txt", ""}};
  const std::string folder = folderWith(files);
  const Outputs outputs = reportAll(folder);
  ASSERT_EQ(outputs.outcome.status, 0) << outputs.outcome.err;
  const Json& json = outputs.json;
  EXPECT_EQ(json["distinctOptima"], (Json{{"count", 0}, {"bestMakespan", nullptr}}));
  EXPECT_EQ(json["schedules"], Json::array());
  EXPECT_TRUE(json["estimates"].is_null());
  EXPECT_TRUE(json["runs"][0]["execution"].is_null());
  EXPECT_TRUE(json["runs"][0]["parameters"].is_null());
  EXPECT_EQ(json["summary"]["runsReachingTarget"], 0);
  EXPECT_EQ(outputs.schedulesCsv, "id,makespan,sequences,runs,inEnumeration,mapX,mapY\n");
}

}  // namespace jobshop
