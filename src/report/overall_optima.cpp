// Every distinct schedule the runs recorded at the target, over all runs: how many, which runs
// found each, where it was first recorded and, with a listed enumeration, where the list holds it.
#include "report/overall_optima.h"

#include <algorithm>
#include <map>

#include "analysis/machine_orders.h"
#include "report/backbone_markup.h"
#include "report/coverage_markup.h"
#include "report/estimate_markup.h"
#include "report/markup.h"
#include "report/schedule_naming.h"
#include "results/result_files.h"

namespace jobshop {

namespace {

std::string foundBy(const SharedOptimum& optimum) {
  const std::size_t count = optimum.runs.size();
  return "found by " + countOf(static_cast<std::int64_t>(count), "run", "runs");
}

// "The runs found 5 distinct ...; counted per run they are 9. 2 found by 3 runs; 3 by 1 run."
std::string countsParagraph(const OptimumUnion& optima, const ScheduleNaming& naming) {
  std::size_t found = 0;
  std::map<std::size_t, std::size_t> byRunCount;
  for (const SharedOptimum& optimum : optima.schedules) {
    found += optimum.runs.size();
    ++byRunCount[optimum.runs.size()];
  }
  const std::size_t distinct = optima.schedules.size();
  std::string html = "<p class=\"overall\">The runs found <strong class=\"distinct-count\">" +
                     groupedNumber(static_cast<std::int64_t>(distinct)) + "</strong> " +
                     naming.phrase(static_cast<std::int64_t>(distinct), "distinct") +
                     " (by machine orders); counted per run they are " +
                     groupedNumber(static_cast<std::int64_t>(found)) + ".";
  for (auto it = byRunCount.rbegin(); it != byRunCount.rend(); ++it) {
    html += ' ';
    html += groupedNumber(static_cast<std::int64_t>(it->second));
    html += it == byRunCount.rbegin() ? " found by " : " by ";
    html += groupedNumber(static_cast<std::int64_t>(it->first));
    html += it->first == 1 ? " run;" : " runs;";
  }
  html.back() = '.';
  return html + "</p>";
}

std::string tableHead(bool matched) {
  return std::string(
             "<div class=\"scroll\"><table class=\"shared-optima\"><thead><tr>"
             "<th class=\"number\">schedule</th><th class=\"text\">found by</th>"
             "<th class=\"text\">runs</th><th class=\"text\">first recorded</th>") +
         (matched ? "<th class=\"text\">enumeration</th>" : "") +
         "<th class=\"text\">machine orders</th></tr></thead><tbody>";
}

std::string tableRow(std::size_t k, const SharedOptimum& optimum, const Instance& instance,
                     const std::optional<OptimaCoverage>& coverage) {
  const bool matched = coverage && coverage->listed;
  return "<tr><td>" + groupedNumber(static_cast<std::int64_t>(k + 1)) +
         "</td><td class=\"found-by\">" + foundBy(optimum) + "</td><td class=\"runs\">" +
         numberList(optimum.runs) + "</td><td class=\"first\">" + kSolutionFileName + " line " +
         groupedNumber(static_cast<std::int64_t>(optimum.firstLine)) + "</td>" +
         (matched ? enumerationCell(*coverage, optimum) : std::string()) + "<td class=\"orders\">" +
         machineOrders(
             optimum.sequences, instance.jobs, {},
             backboneShading(coverage, optimum.sequences, optimum.makespan, instance.jobs)) +
         "</td></tr>";
}

std::string estimates(const ReportAnalysis& analysis, const Instance& instance) {
  return estimatesParagraph(analysis.incidence, analysis.estimates, analysis.coverage,
                            instance.targetMakespan, analysis.optima.schedules.size());
}

std::string measures(const ReportAnalysis& analysis) {
  if (!analysis.measures) return {};
  return enumerationMeasuresParagraph(*analysis.measures, analysis.counted.size());
}

}  // namespace

std::string overallOptimaSection(const ReportAnalysis& analysis, const Instance& instance) {
  const OptimumUnion& optima = analysis.optima;
  const std::optional<OptimaCoverage>& coverage = analysis.coverage;
  const ScheduleNaming naming = scheduleNaming(coverage);
  std::string html =
      "<section id=\"optima-overall\"><h2>" + naming.heading() + " over all runs</h2>";
  if (optima.schedules.empty()) {
    html += "<p>No " + naming.phrase(1) + " was recorded.</p>";
    if (coverage) html += coverageParagraph(*coverage, optima);
    return html + "</section>";
  }
  html += countsParagraph(optima, naming) + estimates(analysis, instance);
  if (coverage) html += coverageParagraph(*coverage, optima) + measures(analysis);
  const std::size_t total = optima.schedules.size();
  html += "<details class=\"shared-optima\"" +
          std::string(total <= kOpenSharedSchedules ? " open=\"open\"" : "") +
          "><summary>Every distinct schedule (" + groupedNumber(static_cast<std::int64_t>(total)) +
          "), with the runs that found it</summary>" + tableHead(coverage && coverage->listed);
  const std::size_t shown = std::min(total, kSharedSchedulesShown);
  for (std::size_t k = 0; k < shown; ++k) {
    html += tableRow(k, optima.schedules[k], instance, coverage);
  }
  html += "</tbody></table></div>" + backboneLegend(coverage, naming);
  if (shown < total) {
    html += "<p class=\"note left-out\">The first " +
            groupedNumber(static_cast<std::int64_t>(shown)) + " of the " +
            groupedNumber(static_cast<std::int64_t>(total)) + " schedules are listed; the other " +
            groupedNumber(static_cast<std::int64_t>(total - shown)) +
            " are left out of this page to keep " + "it small (" + kSolutionFileName +
            " holds every run's " + naming.noun(2) + ").</p>";
  }
  return html + "</details></section>";
}

}  // namespace jobshop
