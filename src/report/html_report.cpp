// The whole report as one self-contained page: inline CSS and SVG, no script and no link to
// anything outside, written so that it also parses as XML.
#include "report/html_report.h"

#include <algorithm>

#include "report/execution_tables.h"
#include "report/gantt_chart.h"
#include "report/markup.h"
#include "report/optimum_distances.h"
#include "report/progress_charts.h"
#include "report/report_style.h"
#include "report/report_tables.h"
#include "report/run_summary.h"
#include "results/result_files.h"

namespace {

std::string problemsSection(const std::vector<std::string>& problems) {
  if (problems.empty()) return {};
  std::string html = "<section class=\"problems\"><h2>The result files do not agree</h2><ul>";
  for (const std::string& problem : problems) html += "<li>" + escapeMarkup(problem) + "</li>";
  html += "</ul><p>What could be aligned is shown below; the files were not changed.</p></section>";
  return html;
}

std::string sequencesText(const RecordedSolution& solution, int jobs) {
  std::string text;
  for (std::size_t c = 0; c < solution.sequences.size(); ++c) {
    const std::size_t position = c % static_cast<std::size_t>(jobs);
    if (position == 0) {
      if (c > 0) text += " | ";
      text += 'M';
      text += std::to_string(c / static_cast<std::size_t>(jobs) + 1);
      text += ':';
    }
    text += ' ';
    text += std::to_string(solution.sequences[c]);
  }
  return text;
}

std::string runOptima(const RunRecord& run, const std::vector<SemiActiveSchedule>& schedules,
                      const Instance& instance) {
  const std::size_t count = run.solutions.size();
  std::string html = "<section class=\"run-optima\"><h3>Run " + std::to_string(run.run) +
                     ": makespan " + plainNumber(run.best) + ", " + std::to_string(count) +
                     " distinct optim" + (count == 1 ? "um" : "a");
  if (run.averageDistance) {
    html += ", average distance " + fixedNumber(*run.averageDistance, 2);
  }
  html += "</h3>";
  if (count == 0)
    return html +
           "<p class=\"unusable\">No solution of this run could be read.</p>"
           "</section>";
  std::string rest;
  int drawn = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const RecordedSolution& solution = run.solutions[k];
    const std::string name = "Optimum " + std::to_string(k + 1) + " (" + kSolutionFileName +
                             " line " + std::to_string(solution.line) + ")";
    if (!schedules[k].problem.empty()) {
      html += "<p class=\"unusable\">" + escapeMarkup(name) +
              " is not drawn: " + escapeMarkup(schedules[k].problem) + ".</p>";
    } else if (drawn < kGanttChartsPerRun) {
      ++drawn;
      html += "<figure class=\"chart\"><figcaption>" + escapeMarkup(name) + "</figcaption>" +
              ganttChart(schedules[k], instance) + "</figure>";
    } else {
      rest += "<li>" + escapeMarkup(name + ": " + sequencesText(solution, instance.jobs)) + "</li>";
    }
  }
  if (!rest.empty()) {
    html +=
        "<p class=\"note\">The other optima of this run, as machine orders:</p><ul "
        "class=\"rest\">" +
        rest + "</ul>";
  }
  if (count >= 2) {
    std::vector<std::vector<int>> matrix = distanceMatrix(run.solutions);
    html +=
        "<p class=\"note\">Distances between the optima (machine-order cells whose job "
        "differs, out of " +
        std::to_string(instance.geneCount()) + "):</p>" +
        distanceTable(matrix, instance.geneCount());
  }
  return html + "</section>";
}

std::string schedulesSection(const ResultRecords& records,
                             const std::vector<std::vector<SemiActiveSchedule>>& schedules,
                             const Instance& instance) {
  std::string html = "<section><h2>Optimal schedules</h2>";
  std::string runs;
  for (std::size_t r = 0; r < records.runs.size(); ++r) {
    if (records.runs[r].reachedTarget) runs += runOptima(records.runs[r], schedules[r], instance);
  }
  if (runs.empty()) {
    return html + "<p>No run reached the target makespan " +
           std::to_string(instance.targetMakespan) +
           ", so there are no optimal schedules to show.</p></section>";
  }
  html +=
      "<p class=\"note\">Each run that reached the target, with its distinct optimal "
      "schedules rebuilt from their machine orders (every operation as early as its job and "
      "its machine allow). The first " +
      std::to_string(kGanttChartsPerRun) + " of a run are drawn. Rows are machines.</p>";
  html += jobLegend(instance.jobs) + runs + "</section>";
  return html;
}

}  // namespace

std::string htmlReport(const std::string& folder, const Instance& instance,
                       const ResultRecords& records,
                       const std::vector<std::vector<SemiActiveSchedule>>& schedules) {
  const std::string place = folder.empty() ? std::string("the current folder") : folder;
  std::string html =
      "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\"><head>"
      "<meta charset=\"utf-8\"/><meta name=\"viewport\" content=\"width=device-width\"/>"
      "<title>Job-shop results: " +
      escapeMarkup(place) + "</title><style>" + kReportStyle + "</style></head><body><main>";
  html += "<h1>Job-shop results</h1><p class=\"meta\">Runs recorded in " + escapeMarkup(place) +
          ", with the instance in its D_Entrada.txt.</p>";
  html += problemsSection(records.problems);
  html += "<section><h2>Summary</h2>" + summaryCards(summariseRuns(records.runs), instance) +
          "</section>";
  if (!records.runs.empty()) {
    html += executionsSection(records.log, records.runs);
    html += "<section><h2>Runs</h2>" + runsTable(records.runs) + "</section>";
    html +=
        "<section><h2>Convergence</h2><p class=\"note\">Best makespan of each run after each "
        "generation that improved it; the dotted part carries a run's last best on to the "
        "right edge (the files do not record when a run ended).</p><div class=\"chart\">" +
        convergencePlot(records.runs, instance.targetMakespan) + "</div>" +
        runLegend(records.runs) + "</section>";
    html +=
        "<section><h2>Best makespans</h2><p class=\"note\">How many runs ended at each best "
        "makespan; green runs reached the target.</p><div class=\"chart\">" +
        makespanHistogram(records.runs, instance.targetMakespan) + "</div></section>";
    html += schedulesSection(records, schedules, instance);
  }
  html += "</main></body></html>\n";
  return html;
}
