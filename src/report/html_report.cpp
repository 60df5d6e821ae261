// The whole report as one self-contained page: inline CSS and SVG, no script and no link to
// anything outside, written so that it also parses as XML.
#include "report/html_report.h"

#include "report/accumulation_chart.h"
#include "report/convergence_plot.h"
#include "report/evaluations_chart.h"
#include "report/execution_tables.h"
#include "report/makespan_histogram.h"
#include "report/markup.h"
#include "report/niche_map_section.h"
#include "report/niching_markup.h"
#include "report/optima_sections.h"
#include "report/report_style.h"
#include "report/report_tables.h"

namespace jobshop {

namespace {

// Past this many, the contents link to the section rather than to each run.
constexpr std::size_t kLinkedRuns = 200;

std::string problemsSection(const std::vector<std::string>& problems) {
  if (problems.empty()) return {};
  std::string html =
      "<section class=\"problems\" id=\"problems\"><h2>The result files do not agree</h2><ul>";
  for (const std::string& problem : problems) html += "<li>" + escapeMarkup(problem) + "</li>";
  html += "</ul><p>What could be aligned is shown below; the files were not changed.</p></section>";
  return html;
}

std::string entry(const char* id, const char* title) {
  return std::string("<li><a href=\"#") + id + "\">" + title + "</a></li>";
}

// Links to the sections, and to each run's optima, which are the bulk of a long page; the
// schedules are called optima only when optima.json proves the target optimal.
std::string contents(const ResultRecords& records, bool optimal, bool accumulation, bool nicheMap) {
  std::string html = "<nav class=\"toc\"><ul>";
  if (!records.problems.empty()) html += entry("problems", "Problems");
  html += entry("summary", "Summary");
  if (!records.runs.empty()) {
    html +=
        entry("executions", "Executions") + entry("runs", "Runs") +
        entry("convergence", "Convergence") + entry("held-found", "Held and found") +
        entry("histogram", "Best makespans") +
        entry("optima-overall", optimal ? "Optima over all runs" : "At or below target: all runs");
    if (accumulation) html += entry("accumulation", "Accumulation");
    if (nicheMap) html += entry("niche-map", "Map");
    std::string runs;
    std::size_t linked = 0;
    for (const RunRecord& run : records.runs) {
      if (!run.reachedTarget) continue;
      if (linked++ == kLinkedRuns) {
        runs += " &#8230;";
        break;
      }
      runs +=
          " <a href=\"#run-" + std::to_string(run.run) + "\">" + std::to_string(run.run) + "</a>";
    }
    html += std::string("<li><a href=\"#optima\">") +
            (optimal ? "Optima of each run" : "At or below target: each run") + "</a>";
    if (!runs.empty()) html += ":<span class=\"run-links\">" + runs + "</span>";
    html += "</li>";
  }
  return html + "</ul></nav>";
}

// What a repeating execution's runs are: copies, or runs that ended where no earlier run did
// (the earlier execution was cut short, or this one was).
std::string repeatSentence(const ExecutionRepeat& repeat) {
  std::string text = "Execution " + std::to_string(repeat.execution) + " repeats execution " +
                     std::to_string(repeat.earlier);
  const int others = repeat.runs - repeat.copies;
  if (repeat.copies == repeat.runs)
    return text + "; its " + countOf(repeat.runs, "run is", "runs are") +
           " shown but counted once.";
  if (repeat.copies == 0)
    return text + ", but its " + countOf(repeat.runs, "run", "runs") +
           " ended where no earlier run did, so " +
           (repeat.runs == 1 ? "it counts." : "they count.");
  return text + "; " + groupedNumber(repeat.copies) + " of its " +
         countOf(repeat.runs, "run", "runs") + (repeat.copies == 1 ? " is a copy" : " are copies") +
         ", shown but counted once; " +
         (others == 1 ? std::string("the other run ended where no earlier run did and counts.")
                      : "the other " + groupedNumber(others) +
                            " runs ended where no earlier run did and count.");
}

std::string repeatsNote(const std::vector<ExecutionRepeat>& repeats) {
  std::string html = "<p class=\"note repeats\">";
  bool first = true;
  for (const ExecutionRepeat& repeat : repeats) {
    if (repeat.runs == 0) continue;  // none of its runs is in the result files
    if (!first) html += ' ';
    html += repeatSentence(repeat);
    first = false;
  }
  return first ? std::string() : html + "</p>";
}

}  // namespace

std::string htmlReport(const std::string& folder, const Instance& instance,
                       const ResultRecords& records,
                       const std::vector<std::vector<SemiActiveSchedule>>& schedules,
                       const ReportAnalysis& analysis) {
  const std::string place = folder.empty() ? std::string("the current folder") : folder;
  std::string html =
      "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\"><head>"
      "<meta charset=\"utf-8\"/><meta name=\"viewport\" content=\"width=device-width\"/>"
      "<title>Job-shop results: " +
      escapeMarkup(place) + "</title><style>" + kReportStyle + "</style></head><body><main>";
  html += "<h1>Job-shop results</h1><p class=\"meta\">Runs recorded in " + escapeMarkup(place) +
          ", with the instance in its D_Entrada.txt.</p>";
  const OptimumUnion& optima = analysis.optima;
  const std::optional<OptimaCoverage>& coverage = analysis.coverage;
  html += contents(records, targetProvenOptimal(coverage), hasAccumulation(analysis.incidence),
                   hasNicheMap(optima, coverage));
  html += problemsSection(records.problems);
  // Every figure is drawn from the same runs: copies made by a repeated execution count once.
  const std::vector<RunRecord>& counted = analysis.counted;
  html += "<section id=\"summary\"><h2>Summary</h2>" +
          summaryCards(analysis.summary, instance, coverage) + cutRunsNote(counted, records.log) +
          repeatsNote(analysis.repeats) + nichingSummary(analysis) + "</section>";
  if (!records.runs.empty()) {
    html += executionsSection(records.log, records.runs, analysis.repeats,
                              analysis.measuresByExecution);
    html += "<section id=\"runs\"><h2>Runs</h2>" +
            runsTable(records.runs, analysis.runFigures, records.log, coverage, analysis) +
            "</section>";
    html += "<section id=\"convergence\"><h2>Convergence</h2><p class=\"note\">" +
            convergenceNote(counted, instance.targetMakespan) + "</p><div class=\"chart\">" +
            convergencePlot(counted, instance.targetMakespan) + "</div>" + runLegend(counted) +
            evaluationsChart(counted) + "</section>";
    html += heldFoundSection(analysis);
    html +=
        "<section id=\"histogram\"><h2>Best makespans</h2><p class=\"note\">How many runs ended "
        "at each best makespan; green runs reached the target.</p><div class=\"chart\">" +
        makespanHistogram(counted, instance.targetMakespan) + "</div></section>";
    html += overallOptimaSection(analysis, instance);
    html += accumulationSection(analysis);
    html += nicheMapSection(analysis, records.runs);
    html += runOptimaSection(records.runs, optima, schedules, instance, coverage);
  }
  html += "</main></body></html>\n";
  return html;
}

}  // namespace jobshop
