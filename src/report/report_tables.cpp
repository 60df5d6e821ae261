// The page's figures and tables as HTML: the summary cards, the per-run table and the matrix of
// distances between the optima of one run.
#include "report/report_tables.h"

#include <algorithm>

#include "report/coverage_markup.h"
#include "report/markup.h"

namespace jobshop {

namespace {

std::string card(const std::string& value, const std::string& label, const char* tone = "",
                 const char* id = "") {
  return std::string("<div class=\"card ") + tone + "\"" +
         (*id != 0 ? std::string(" id=\"") + id + "\"" : std::string()) + "><div class=\"value\">" +
         value + "</div><div class=\"label\">" + label + "</div></div>";
}

std::string orDash(const std::optional<double>& value, int decimals) {
  if (!value) return "&#8211;";
  return decimals < 0 ? plainNumber(*value) : fixedNumber(*value, decimals);
}

std::string shown(const std::optional<std::int64_t>& value) {
  return value ? std::to_string(*value) : std::string();
}

}  // namespace

std::string summaryCards(const ReportSummary& summary, const Instance& instance) {
  std::string html = "<div class=\"cards\">";
  html += card(std::to_string(instance.jobs) + " &#215; " + std::to_string(instance.machines),
               "jobs &#215; machines");
  html += card(std::to_string(instance.targetMakespan), "target makespan");
  html += card(std::to_string(summary.runs), "runs");
  const bool bestReaches = summary.bestMakespan && *summary.bestMakespan <= instance.targetMakespan;
  html += card(orDash(summary.bestMakespan, -1), "best makespan", bestReaches ? "good" : "bad");
  html += card(orDash(summary.medianBest, -1), "median of the runs' bests");
  html += card(std::to_string(summary.runsReachingTarget) + " of " + std::to_string(summary.runs),
               "runs that reached the target", summary.runsReachingTarget > 0 ? "good" : "bad");
  std::string optima = "&#8211;";
  if (summary.fewestOptima) {
    optima = std::to_string(*summary.fewestOptima);
    if (*summary.mostOptima != *summary.fewestOptima) {
      optima += "&#8211;" + std::to_string(*summary.mostOptima);
    }
  }
  html += card(optima, "distinct optima in one run that reached the target");
  html += card(summary.distinctOptimaOverall ? std::to_string(*summary.distinctOptimaOverall)
                                             : std::string("&#8211;"),
               "distinct optima over all runs (the runs' counts add up to " +
                   std::to_string(summary.totalOptima) + ")",
               "", "distinct-overall");
  html += card(orDash(summary.meanAverageDistance, 2),
               "mean of the runs' average distances between optima (" +
                   std::to_string(summary.runsWithDistance) + " runs with two or more)");
  html += "</div>";
  return html;
}

std::string runsTable(const std::vector<RunRecord>& runs,
                      const std::optional<OptimaCoverage>& coverage, bool recordPresent) {
  const bool matched = coverage && coverage->listed;
  std::string html =
      "<div class=\"scroll\"><table class=\"runs\"><thead><tr><th>run</th><th>best makespan</th>"
      "<th>reached target</th><th>distinct optima</th>";
  if (matched) html += "<th>of the enumeration</th>";
  html +=
      "<th>average distance</th>"
      "<th>generations with improvements</th><th>last improving generation</th>"
      "<th>execution</th><th>wall time (s)</th><th>generations</th><th>evaluations</th>"
      "<th>target reached in generation</th></tr></thead><tbody>";
  const std::size_t listed = std::min(runs.size(), kRunsTableRows);
  for (std::size_t r = 0; r < listed; ++r) {
    const RunRecord& run = runs[r];
    const RunFigures figures = runFigures(run);
    html += std::string("<tr class=\"") + (run.reachedTarget ? "reached" : "missed") + "\">";
    html += tableCell(std::to_string(run.run));
    html += tableCell(plainNumber(run.best));
    html += tableCell(run.reachedTarget ? "yes" : "no", "reached");
    html += tableCell(run.distinctOptima ? std::to_string(*run.distinctOptima) : "");
    if (matched) html += tableCell(runCoverageText(*coverage, r), "run-coverage");
    html += tableCell(run.averageDistance ? fixedNumber(*run.averageDistance, 2) : "");
    html += tableCell(std::to_string(figures.improvingGenerations));
    html += tableCell(std::to_string(figures.lastImprovingGeneration));
    const LoggedRun* logged = run.logged ? &*run.logged : nullptr;
    html += tableCell(logged ? std::to_string(run.execution) : recordPresent ? "no record" : "");
    html += tableCell(logged && logged->seconds ? fixedNumber(*logged->seconds, 3) : "");
    html += tableCell(logged ? shown(logged->generations) : "");
    html += tableCell(logged ? shown(logged->evaluations) : "");
    html += tableCell(logged ? shown(logged->targetGeneration) : "");
    html += "</tr>";
  }
  html += "</tbody></table></div>";
  if (listed < runs.size()) {
    html += "<p class=\"note left-out\">The first " + std::to_string(listed) + " of the " +
            std::to_string(runs.size()) + " runs are listed, so that this page stays small; the " +
            "CSV the report writes with --csv holds every run.</p>";
  }
  return html;
}

}  // namespace jobshop
