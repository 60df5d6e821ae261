// The page's figures and tables as HTML: the summary cards, the per-run table and the matrix of
// distances between the optima of one run.
#include "report/report_tables.h"

#include <algorithm>

#include "report/coverage_markup.h"
#include "report/markup.h"
#include "report/niching_markup.h"
#include "results/run_marks.h"
#include "support/number_format.h"

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

std::string grouped(const std::optional<std::int64_t>& value) {
  return value ? groupedNumber(*value) : std::string();
}

std::string heading(const char* text, const char* meaning) {
  return std::string("<th title=\"") + meaning + "\">" + text + "</th>";
}

// Why the run's figures are not what they seem at first: cut short, or a copy counted once.
std::string runNote(const RunRecord& run, const ExecutionLog& log) {
  std::string note = cutText(run, log);
  if (run.repeatOf != 0) {
    note += (note.empty() ? "" : "; ") + std::string("copy of run ") + std::to_string(run.repeatOf);
  }
  return note;
}

// Each named with where it stopped; past this many the rest are only counted.
constexpr std::size_t kNamedCutRuns = 5;

}  // namespace

std::string cutRunsNote(const std::vector<RunRecord>& counted, const ExecutionLog& log) {
  std::vector<std::string> cuts;
  for (const RunRecord& run : counted) {
    if (run.cut) cuts.push_back("run " + std::to_string(run.run) + ": " + cutText(run, log));
  }
  if (cuts.empty()) return {};
  const bool one = cuts.size() == 1;
  std::string named;
  for (std::size_t k = 0; k < std::min(cuts.size(), kNamedCutRuns); ++k)
    named += (k == 0 ? "" : "; ") + cuts[k];
  if (cuts.size() > kNamedCutRuns)
    named +=
        "; and " + groupedNumber(static_cast<std::int64_t>(cuts.size() - kNamedCutRuns)) + " more";
  return "<p class=\"note cut-runs\">Of the " +
         countOf(static_cast<std::int64_t>(counted.size()), "run", "runs") + ", " +
         groupedNumber(static_cast<std::int64_t>(cuts.size())) + (one ? " was" : " were") +
         " cut short by a stop (" + named + "); " + (one ? "it counts" : "they count") +
         " in every figure of this page, with what " + (one ? "it" : "they") +
         " had found when stopped.</p>";
}

std::string summaryCards(const ReportSummary& summary, const Instance& instance,
                         const std::optional<OptimaCoverage>& coverage) {
  const bool optimal = targetProvenOptimal(coverage);
  const std::string schedules = optimal ? "optima" : "schedules at or below the target";
  std::string html = "<div class=\"cards\">";
  html += card(std::to_string(instance.jobs) + " &#215; " + std::to_string(instance.machines),
               "jobs &#215; machines");
  html += card(groupedNumber(instance.targetMakespan), "target makespan");
  html += card(groupedNumber(summary.runs), summary.runs == 1 ? "run" : "runs");
  if (summary.runsCut > 0) {
    html += card(groupedNumber(summary.runsCut),
                 summary.runsCut == 1 ? "run cut short" : "runs cut short", "bad", "runs-cut");
  }
  const bool bestReaches = summary.bestMakespan && *summary.bestMakespan <= instance.targetMakespan;
  html += card(orDash(summary.bestMakespan, -1), "best makespan", bestReaches ? "good" : "bad");
  html += card(orDash(summary.medianBest, -1), "median of the runs' bests");
  html +=
      card(groupedNumber(summary.runsReachingTarget) + " of " + groupedNumber(summary.runs),
           // "1 of 10 runs reached": the noun agrees with the runs, not with those that reached.
           summary.runs == 1 ? "run reached the target" : "runs reached the target",
           summary.runsReachingTarget > 0 ? "good" : "bad");
  std::string optima = "&#8211;";
  if (summary.fewestOptima) {
    optima = groupedNumber(*summary.fewestOptima);
    if (*summary.mostOptima != *summary.fewestOptima) {
      optima += "&#8211;" + groupedNumber(*summary.mostOptima);
    }
  }
  html += card(optima, optimal ? "distinct optima per run that reached the target"
                               : "schedules &#8804; target per run that reached it");
  html += card(summary.distinctOptimaOverall ? groupedNumber(*summary.distinctOptimaOverall)
                                             : std::string("&#8211;"),
               "distinct " + schedules + " over all runs (the runs' counts add up to " +
                   groupedNumber(summary.totalOptima) + ")",
               "", "distinct-overall");
  if (coverage && coverage->listed && coverage->enumeration.count > 0) {
    html += card(groupedNumber(static_cast<std::int64_t>(coverage->foundOverall)) + " of " +
                     enumeratedCountText(coverage->enumeration),
                 (optimal ? std::string("optimal schedules")
                          : "enumerated schedules of makespan &#8804; " +
                                std::to_string(coverage->enumeration.bound)) +
                     " found by the runs",
                 "", "enumeration-found");
  }
  html += card(orDash(summary.meanAverageDistance, 2),
               "mean of the runs' average distances between their " + schedules + " (" +
                   countOf(summary.runsWithDistance, "run", "runs") + " with two or more)");
  html += "</div>";
  return html;
}

std::string runsTable(const std::vector<RunRecord>& runs, const std::vector<RunFigures>& figures,
                      const ExecutionLog& log, const std::optional<OptimaCoverage>& coverage,
                      const ReportAnalysis& analysis) {
  const std::string measureHeadings = nichingHeadings(analysis);
  const bool matched = coverage && coverage->listed;
  const bool optimal = targetProvenOptimal(coverage);
  std::string html = "<div class=\"scroll wide\"><table class=\"runs\"><thead><tr>";
  html += heading("run", "the run's number, in the order of the result files");
  html += heading("best", "the run's best makespan");
  html += heading("reached", "whether the run reached the target makespan");
  html += optimal ? heading("optima", "distinct optimal schedules the run recorded")
                  : heading("&#8804; target",
                            "distinct schedules at or below the target the run recorded");
  if (matched) html += heading("of enum.", "how many of them the enumeration lists");
  html += heading("avg dist.", "average distance between them");
  html += heading("improv.", "generations in which the run's best makespan improved");
  html += heading("last improv.", "the last generation in which it improved");
  html += heading("exec.", "the execution of executions.jsonl that made the run");
  html += heading("time (s)", "the run's wall time in seconds");
  html += heading("gens", "generations the run made");
  html += heading("evals", "evaluations the run made");
  html += heading("target gen.", "the generation in which the run first reached the target");
  html += measureHeadings;
  html += heading("note", "cut short by a signal, or a copy of an earlier run");
  html += "</tr></thead><tbody>";
  const std::size_t listed = std::min(runs.size(), kRunsTableRows);
  for (std::size_t r = 0; r < listed; ++r) {
    const RunRecord& run = runs[r];
    html += std::string("<tr class=\"") + (run.reachedTarget ? "reached" : "missed") +
            (run.cut ? " cut" : "") + (run.repeatOf != 0 ? " copy" : "") + "\">";
    html += tableCell(std::to_string(run.run));
    html += tableCell(plainNumber(run.best));
    html += tableCell(run.reachedTarget ? "yes" : "no", "reached");
    html += tableCell(run.distinctOptima ? groupedNumber(*run.distinctOptima) : "");
    if (matched) html += tableCell(runCoverageText(*coverage, r), "run-coverage");
    html += tableCell(run.averageDistance ? fixedNumber(*run.averageDistance, 2) : "");
    html += tableCell(groupedNumber(figures[r].improvingGenerations));
    html += tableCell(groupedNumber(figures[r].lastImprovingGeneration));
    const LoggedRun* logged = run.logged ? &*run.logged : nullptr;
    html += tableCell(logged ? std::to_string(run.execution) : log.present ? "no record" : "");
    html += tableCell(logged && logged->seconds ? fixedNumber(*logged->seconds, 3) : "");
    html += tableCell(logged ? grouped(logged->generations) : "");
    html += tableCell(logged ? grouped(logged->evaluations) : "");
    html += tableCell(logged ? grouped(logged->targetGeneration) : "");
    if (!measureHeadings.empty()) html += nichingCells(analysis, r);
    html += tableCell(runNote(run, log), "note");
    html += "</tr>";
  }
  html += "</tbody></table></div>";
  html += std::string("<p class=\"note\">Columns: <i>best</i>, the run's best makespan; <i>") +
          (optimal ? "optima</i>, the distinct optimal schedules"
                   : "&#8804; target</i>, the distinct schedules at or below the target") +
          " it recorded" + (matched ? " (<i>of enum.</i>: how many the enumeration lists)" : "") +
          "; <i>avg dist.</i>, their average distance; <i>improv.</i>, the generations that "
          "improved its best, the last in <i>last improv.</i>; <i>exec.</i>, its execution in " +
          kExecutionRecordFileName +
          ", which recorded its time, its generations (<i>gens</i>), its evaluations "
          "(<i>evals</i>) and the generation it first reached the target (<i>target "
          "gen.</i>)" +
          (measureHeadings.empty()
               ? std::string()
               : "; then the measures of its trace: the distinct optimal schedules its final "
                 "population <i>held</i>, those it <i>found</i> on the way, the <i>distinct</i> "
                 "schedules of its final population, and the shares of them (each heading "
                 "explains its own)") +
          ".</p>";
  if (listed < runs.size()) {
    html += "<p class=\"note left-out\">The first " +
            groupedNumber(static_cast<std::int64_t>(listed)) + " of the " +
            groupedNumber(static_cast<std::int64_t>(runs.size())) +
            " runs are listed, so that this page stays small; the " +
            "CSV the report writes with --csv holds every run.</p>";
  }
  return html;
}

}  // namespace jobshop
