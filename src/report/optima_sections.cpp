// The optimal schedules on the page: every distinct schedule over all runs with the runs that
// found it, and per run its optima as Gantt charts and machine orders, folded so that long pages
// stay readable.
#include "report/optima_sections.h"

#include <map>

#include "report/coverage_markup.h"
#include "report/gantt_chart.h"
#include "report/markup.h"
#include "report/optimum_distances.h"
#include "report/report_tables.h"
#include "results/result_files.h"

namespace {

// Past this many rows the table of all schedules starts folded.
constexpr std::size_t kOpenTableRows = 30;

std::string runList(const std::vector<int>& runs) {
  std::string text;
  for (std::size_t k = 0; k < runs.size(); ++k) {
    if (k > 0) text += ", ";
    text += std::to_string(runs[k]);
  }
  return text;
}

std::string foundBy(const SharedOptimum& optimum) {
  const std::size_t count = optimum.runs.size();
  return "found by " + std::to_string(count) + (count == 1 ? " run" : " runs");
}

// "found by this run only" or "also found by runs 3, 7": how a run's optimum stands among all.
std::string sharedWith(const SharedOptimum& optimum, int run) {
  std::vector<int> others;
  for (int other : optimum.runs) {
    if (other != run) others.push_back(other);
  }
  if (others.empty()) return "found by this run only";
  return std::string("also found by run") + (others.size() == 1 ? " " : "s ") + runList(others);
}

std::string runOptima(const RunRecord& run, std::size_t runIndex, const OptimumUnion& optima,
                      const std::vector<SemiActiveSchedule>& schedules, const Instance& instance,
                      const std::optional<OptimaCoverage>& coverage, bool open) {
  const std::size_t count = run.solutions.size();
  std::size_t shared = 0;
  for (std::size_t index : optima.indexOf[runIndex]) {
    if (optima.schedules[index].runs.size() > 1) ++shared;
  }
  std::string html = "<details class=\"run-optima\" id=\"run-" + std::to_string(run.run) + "\"" +
                     (open ? " open=\"open\"" : "") + "><summary>Run " + std::to_string(run.run) +
                     ": makespan " + plainNumber(run.best) + ", " + std::to_string(count) +
                     " distinct optim" + (count == 1 ? "um" : "a");
  if (run.averageDistance) {
    html += ", average distance " + fixedNumber(*run.averageDistance, 2);
  }
  if (count > 0) html += ", " + std::to_string(shared) + " also found by other runs";
  if (coverage && coverage->listed) {
    html += ", found <span class=\"run-coverage\">" + runCoverageText(*coverage, runIndex) +
            "</span> enumerated";
  }
  html += "</summary>";
  if (count == 0) {
    return html + "<p class=\"unusable\">No solution of this run could be read.</p></details>";
  }
  std::string rest;
  int drawn = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const RecordedSolution& solution = run.solutions[k];
    const SharedOptimum& optimum = optima.schedules[optima.indexOf[runIndex][k]];
    const std::string name = "Optimum " + std::to_string(k + 1) + " (" + kSolutionFileName +
                             " line " + std::to_string(solution.line) + ", " +
                             sharedWith(optimum, run.run) + ")";
    if (!schedules[k].problem.empty()) {
      html += "<p class=\"unusable\">" + escapeMarkup(name) +
              " is not drawn: " + escapeMarkup(schedules[k].problem) + ".</p>";
    } else if (drawn < kGanttChartsPerRun) {
      ++drawn;
      html += "<figure class=\"chart\"><figcaption>" + escapeMarkup(name) + "</figcaption>" +
              ganttChart(schedules[k], instance) + "</figure>";
    } else {
      rest += "<li><span class=\"name\">" + escapeMarkup(name) + ":</span> " +
              machineOrders(solution.sequences, instance.jobs) + "</li>";
    }
  }
  if (!rest.empty()) {
    html +=
        "<p class=\"note\">The other optima of this run, as machine orders:</p><ul "
        "class=\"rest\">" +
        rest + "</ul>";
  }
  if (count >= 2) {
    html +=
        "<p class=\"note\">Distances between the optima (machine-order cells whose job "
        "differs, out of " +
        std::to_string(instance.geneCount()) + "):</p>" +
        distanceTable(distanceMatrix(run.solutions), instance.geneCount());
  }
  return html + "</details>";
}

}  // namespace

std::string machineOrders(const std::vector<int>& sequences, int jobs) {
  std::string html;
  const std::size_t width = static_cast<std::size_t>(jobs);
  for (std::size_t start = 0; start < sequences.size(); start += width) {
    if (start > 0) html += ' ';
    html += "<span class=\"order\"><b>M" + std::to_string(start / width + 1) + "</b>";
    for (std::size_t c = start; c < start + width && c < sequences.size(); ++c) {
      html += ' ';
      html += std::to_string(sequences[c]);
    }
    html += "</span>";
  }
  return html;
}

std::string overallOptimaSection(const OptimumUnion& optima, const Instance& instance,
                                 const std::optional<OptimaCoverage>& coverage) {
  std::string html = "<section id=\"optima-overall\"><h2>Optimal schedules over all runs</h2>";
  if (optima.schedules.empty()) {
    html += "<p>No optimal schedule was recorded.</p>";
    if (coverage) html += coverageParagraph(*coverage, optima);
    return html + "</section>";
  }
  std::size_t found = 0;
  std::map<std::size_t, int> byRunCount;
  for (const SharedOptimum& optimum : optima.schedules) {
    found += optimum.runs.size();
    ++byRunCount[optimum.runs.size()];
  }
  html += "<p class=\"overall\">The runs found <strong class=\"distinct-count\">" +
          std::to_string(optima.schedules.size()) + "</strong> distinct optimal schedule" +
          (optima.schedules.size() == 1 ? "" : "s") + " (by machine orders); counted per run " +
          "they are " + std::to_string(found) + ".";
  for (auto it = byRunCount.rbegin(); it != byRunCount.rend(); ++it) {
    html += ' ';
    html += std::to_string(it->second);
    html += it == byRunCount.rbegin() ? " found by " : " by ";
    html += std::to_string(it->first);
    html += it->first == 1 ? " run;" : " runs;";
  }
  html.back() = '.';
  html += "</p>";
  if (coverage) html += coverageParagraph(*coverage, optima);
  const bool matched = coverage && coverage->listed;
  html += "<details" +
          std::string(optima.schedules.size() <= kOpenTableRows ? " open=\"open\"" : "") +
          "><summary>Every distinct schedule, with the runs that found it</summary>"
          "<div class=\"scroll\"><table class=\"shared-optima\"><thead><tr><th>schedule</th>"
          "<th>found by</th><th>runs</th><th>first recorded</th>" +
          std::string(matched ? "<th>enumeration</th>" : "") +
          "<th>machine orders</th></tr></thead><tbody>";
  for (std::size_t k = 0; k < optima.schedules.size(); ++k) {
    const SharedOptimum& optimum = optima.schedules[k];
    html += "<tr><td>" + std::to_string(k + 1) + "</td><td class=\"found-by\">" + foundBy(optimum) +
            "</td><td class=\"runs\">" + runList(optimum.runs) + "</td><td>line " +
            std::to_string(optimum.firstLine) + "</td>" +
            (matched ? enumerationCell(*coverage, optimum) : std::string()) +
            "<td class=\"orders\">" + machineOrders(optimum.sequences, instance.jobs) +
            "</td></tr>";
  }
  return html + "</tbody></table></div></details></section>";
}

std::string runOptimaSection(const std::vector<RunRecord>& runs, const OptimumUnion& optima,
                             const std::vector<std::vector<SemiActiveSchedule>>& schedules,
                             const Instance& instance,
                             const std::optional<OptimaCoverage>& coverage) {
  std::string html = "<section id=\"optima\"><h2>Optimal schedules of each run</h2>";
  std::string folded;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (!runs[r].reachedTarget) continue;
    folded += runOptima(runs[r], r, optima, schedules[r], instance, coverage, folded.empty());
  }
  if (folded.empty()) {
    return html + "<p>No run reached the target makespan " +
           std::to_string(instance.targetMakespan) +
           ", so there are no optimal schedules to show.</p></section>";
  }
  html +=
      "<p class=\"note\">Each run that reached the target, with its distinct optimal "
      "schedules rebuilt from their machine orders (every operation as early as its job and "
      "its machine allow). The first " +
      std::to_string(kGanttChartsPerRun) +
      " of a run are drawn; rows are machines, the pale lanes are idle time. Click a run to open "
      "it.</p>";
  return html + jobLegend(instance.jobs) + folded + "</section>";
}
