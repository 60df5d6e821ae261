// The report's per-run work that grows fastest with a run's optima, ordering the distance matrix
// by average linkage; and a whole folder's report: its figures, computed once, and the page laid
// out from them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "analysis/average_linkage.h"
#include "analysis/recorded_schedules.h"
#include "analysis/report_analysis.h"
#include "input/instance_reader.h"
#include "report/html_report.h"
#include "results/optimum_distances.h"
#include "results/result_files.h"

namespace jobshop {

namespace {

// n schedules of a 10 x 10 instance around five centres, each a few neighbour swaps away from
// its centre: distances with clusters, like a run's optima.
std::vector<std::vector<int>> clusteredDistances(std::size_t n) {
  std::mt19937 random(7);
  constexpr int kJobs = 10, kMachines = 10;
  std::vector<std::vector<int>> centres(5);
  for (std::vector<int>& centre : centres) {
    for (int m = 0; m < kMachines; ++m) {
      std::vector<int> row(kJobs);
      std::iota(row.begin(), row.end(), 1);
      std::shuffle(row.begin(), row.end(), random);
      centre.insert(centre.end(), row.begin(), row.end());
    }
  }
  std::vector<std::vector<int>> schedules;
  for (std::size_t k = 0; k < n; ++k) {
    std::vector<int> schedule = centres[k % centres.size()];
    for (int swaps = 0; swaps < 4; ++swaps) {
      const std::size_t cell = random() % (schedule.size() - 1);
      if (cell % kJobs != kJobs - 1) std::swap(schedule[cell], schedule[cell + 1]);
    }
    schedules.push_back(schedule);
  }
  std::vector<std::vector<int>> matrix(n, std::vector<int>(n));
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) matrix[i][j] = sequenceDistance(schedules[i], schedules[j]);
  }
  return matrix;
}

void BM_AverageLinkageOrder(benchmark::State& s) {
  const std::vector<std::vector<int>> matrix =
      clusteredDistances(static_cast<std::size_t>(s.range(0)));
  for (auto _ : s) benchmark::DoNotOptimize(averageLinkageOrder(matrix));
}
BENCHMARK(BM_AverageLinkageOrder)
    ->Arg(30)
    ->Arg(150)
    ->Arg(300)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond);

// The committed report case of ft06: six runs, three of them copies, against a complete list.
struct ReportFolder {
  std::string path =
      std::string(JOBSHOP_SOURCE_DIR) + "/tests/golden-report/ft06-listed-repeats/folder/";
  Instance instance = readInstance(path + kInstanceFileName);
  ResultRecords records = loadResultRecords(path, instance);
  std::optional<EnumeratedOptima> enumeration = loadEnumerated(path);

  static std::optional<EnumeratedOptima> loadEnumerated(const std::string& folder) {
    OptimaInFolder read = loadEnumeratedOptima(folder);
    if (!read) return std::nullopt;
    return std::move(*read);
  }
};

void BM_ReportAnalysis(benchmark::State& s) {
  const ReportFolder folder;
  for (auto _ : s) {
    ResultRecords records = folder.records;
    benchmark::DoNotOptimize(analyseReport(folder.instance, records, folder.enumeration));
  }
}
BENCHMARK(BM_ReportAnalysis)->Unit(benchmark::kMillisecond);

void BM_ReportPage(benchmark::State& s) {
  ReportFolder folder;
  const std::vector<std::vector<SemiActiveSchedule>> schedules =
      rebuildRecordedSchedules(folder.records.runs, folder.instance, folder.records.problems);
  const ReportAnalysis analysis =
      analyseReport(folder.instance, folder.records, folder.enumeration);
  for (auto _ : s)
    benchmark::DoNotOptimize(
        htmlReport(folder.path, folder.instance, folder.records, schedules, analysis));
}
BENCHMARK(BM_ReportPage)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace jobshop
