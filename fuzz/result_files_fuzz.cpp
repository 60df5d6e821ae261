// Fuzzing what `report` reads back: an instance, the five result files and "executions.jsonl",
// split from one input at form feeds, aligned, rebuilt and drawn as the report command does.
#include <cstdint>

#include "analysis/recorded_schedules.h"
#include "analysis/report_analysis.h"
#include "fuzz_checks.h"
#include "input/input_error.h"
#include "input/instance_reader.h"
#include "input/line_reader.h"
#include "report/html_report.h"
#include "report/report_csv.h"
#include "results/result_records.h"

using namespace jobshop;

namespace {

// Big instances only slow each input down; the readers' size limits have their own target.
constexpr int kLargestGeneCount = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> parts;
  std::string_view rest = fuzzText(data, size);
  for (std::size_t cut; (cut = rest.find('\f')) != std::string_view::npos;) {
    parts.emplace_back(rest.substr(0, cut));
    rest.remove_prefix(cut + 1);
  }
  parts.emplace_back(rest);
  Instance instance;
  try {
    instance = parseInstanceLines(splitLines(parts[0]), "D_Entrada.txt");
  } catch (const InputError&) {
    return 0;
  }
  if (instance.geneCount() > kLargestGeneCount) return 0;
  ResultTexts texts;
  for (std::size_t f = 0; f < 5; ++f)
    if (f + 1 < parts.size()) texts.files[f] = parts[f + 1];
  if (parts.size() > 6) texts.executionLog = parts[6];

  ResultRecords records = parseResultRecords(texts, "", instance);
  const std::vector<std::vector<SemiActiveSchedule>> schedules =
      rebuildRecordedSchedules(records.runs, instance, records.problems);
  fuzzCheck(schedules.size() == records.runs.size(), "one list of schedules per run");
  for (std::size_t r = 0; r < records.runs.size(); ++r) {
    const RunRecord& run = records.runs[r];
    fuzzCheck(run.run == static_cast<int>(r) + 1, "runs numbered in order");
    fuzzCheck(schedules[r].size() == run.solutions.size(), "one schedule per solution");
    for (std::size_t s = 0; s < schedules[r].size(); ++s) {
      if (!schedules[r][s].problem.empty()) continue;
      fuzzCheck(schedules[r][s].makespan == run.solutions[s].makespan,
                "a rebuilt schedule keeps its recorded makespan");
      // Only the makespan is kept; drawing rebuilds the operations.
      const SemiActiveSchedule drawn = rebuildSchedule(instance, run.solutions[s].sequences);
      fuzzCheck(drawn.operations.size() == static_cast<std::size_t>(instance.geneCount()),
                "a rebuilt schedule places every operation");
    }
  }
  const ReportAnalysis analysis = analyseReport(instance, records, std::optional<OptimaCoverage>{});
  const std::string page = htmlReport("", instance, records, schedules, analysis);
  fuzzCheck(page.find("</html>") != std::string::npos, "the page is complete");
  reportCsv(records.runs, analysis.runFigures, records.log, analysis.coverage,
            analysis.runMeasures);
  for (const std::string& problem : records.problems)
    fuzzCheck(isPrintableUtf8(problem), "a problem is printable UTF-8 on one line");
  return 0;
}
