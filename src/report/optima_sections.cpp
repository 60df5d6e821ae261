// The schedules each run recorded at the target: per run its Gantt charts, its other schedules as
// machine orders and their distances, folded so that long pages stay readable.
#include "report/optima_sections.h"

#include <algorithm>

#include "analysis/farthest_pair.h"
#include "analysis/machine_orders.h"
#include "report/backbone_markup.h"
#include "report/coverage_markup.h"
#include "report/distance_table.h"
#include "report/gantt_chart.h"
#include "report/markup.h"
#include "report/schedule_naming.h"
#include "results/optimum_distances.h"
#include "results/result_files.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

// "found by this run only" or "also found by runs 3, 7": how a run's optimum stands among all.
std::string sharedWith(const SharedOptimum& optimum, int run) {
  std::vector<int> others;
  for (int other : optimum.runs) {
    if (other != run) others.push_back(other);
  }
  if (others.empty()) return "found by this run only";
  return std::string("also found by run") + (others.size() == 1 ? " " : "s ") + numberList(others);
}

// The optima drawn as Gantt charts: the first, the two farthest apart (the first such pair), and
// then the next ones in order, up to kGanttChartsPerRun; undrawable ones are skipped.
struct DrawnOptima {
  std::vector<bool> drawn;
  FarthestPair farthest;  // distance -1 when the pair is not drawn
};

DrawnOptima drawnOptima(const RunRecord& run, const std::vector<SemiActiveSchedule>& schedules,
                        bool charted) {
  const std::size_t count = run.solutions.size();
  std::vector<bool> drawable(count, false);
  for (std::size_t k = 0; k < count && k < schedules.size(); ++k)
    drawable[k] = schedules[k].problem.empty() && charted;
  std::vector<bool> drawn(count, false);
  std::size_t chosen = 0;
  auto choose = [&](std::size_t k) {
    if (chosen < kGanttChartsPerRun && drawable[k] && !drawn[k]) {
      drawn[k] = true;
      ++chosen;
    }
  };
  for (std::size_t k = 0; k < count && chosen == 0; ++k) choose(k);
  FarthestPair farthest = farthestPair(run.solutions, drawable);
  if (farthest.distance >= 0 && kGanttChartsPerRun - chosen >= 2) {
    choose(farthest.first);
    choose(farthest.second);
  } else {
    farthest.distance = -1;
  }
  for (std::size_t k = 0; k < count; ++k) choose(k);
  return DrawnOptima{drawn, farthest};
}

// ", one of the two farthest apart (distance 12)", naming the sample when the pair comes from one.
std::string farthestNote(const FarthestPair& farthest) {
  std::string note = ", one of the two farthest apart";
  if (farthest.sample > 0) {
    note += " in a sample of " + groupedNumber(static_cast<std::int64_t>(farthest.sample)) +
            " of the " + groupedNumber(static_cast<std::int64_t>(farthest.usableCount)) +
            " drawable";
  }
  return note + " (distance " + groupedNumber(static_cast<std::int64_t>(farthest.distance)) + ")";
}

// "Optimum k (its line, the runs that also found it)", or "Schedule k (...)".
std::string optimumName(const RunRecord& run, std::size_t k, const SharedOptimum& optimum,
                        const ScheduleNaming& naming) {
  return naming.capitalNoun() + " " + groupedNumber(static_cast<std::int64_t>(k + 1)) + " (" +
         kSolutionFileName + " line " +
         groupedNumber(static_cast<std::int64_t>(run.solutions[k].line)) + ", " +
         sharedWith(optimum, run.run) + ")";
}

std::string linesOfRun(const RunRecord& run) {
  return kSolutionFileName + std::string(" lines ") +
         groupedNumber(static_cast<std::int64_t>(run.solutions.front().line)) + "&#8211;" +
         groupedNumber(static_cast<std::int64_t>(run.solutions.back().line));
}

// What a run's part of the page draws from: the union over all runs, the instance, and how the
// schedules are named.
struct RunContext {
  const OptimumUnion& optima;
  const Instance& instance;
  const std::optional<OptimaCoverage>& coverage;
  ScheduleNaming naming;
};

// The schedules not drawn: up to kListedOptimaPerRun as machine orders (or why they cannot be
// drawn), then a note of how many more there are and where.
std::string otherOptima(const RunRecord& run, std::size_t runIndex, const RunContext& context,
                        const std::vector<SemiActiveSchedule>& schedules,
                        const std::vector<bool>& drawn) {
  std::string html;
  std::string rest;
  std::size_t listed = 0;
  std::size_t left = 0;
  for (std::size_t k = 0; k < run.solutions.size(); ++k) {
    if (drawn[k]) continue;
    if (listed == kListedOptimaPerRun) {
      ++left;
      continue;
    }
    ++listed;
    const std::string name = optimumName(
        run, k, context.optima.schedules[context.optima.indexOf[runIndex][k]], context.naming);
    if (!schedules[k].problem.empty()) {
      html += "<p class=\"unusable\">" + escapeMarkup(name) +
              " is not drawn: " + escapeMarkup(schedules[k].problem) + ".</p>";
    } else {
      const std::vector<int>& sequences = run.solutions[k].sequences;
      rest += "<li><span class=\"name\">" + escapeMarkup(name) + ":</span> " +
              machineOrders(sequences, context.instance.jobs,
                            differingCells(sequences, run.solutions.front().sequences),
                            backboneShading(context.coverage, sequences, run.solutions[k].makespan,
                                            context.instance.jobs)) +
              "</li>";
    }
  }
  if (!rest.empty()) {
    html += "<p class=\"note\">The other " + context.naming.noun(2) +
            " of this run, as machine orders:</p><ul class=\"rest\">" + rest + "</ul>" +
            backboneLegend(context.coverage, context.naming);
  }
  if (left > 0) {
    html += "<p class=\"note left-out\">" + groupedNumber(static_cast<std::int64_t>(left)) +
            " more " + context.naming.noun(static_cast<std::int64_t>(left)) +
            (left == 1 ? " is" : " are") + " left out of this page to keep it small; " +
            linesOfRun(run) + " hold all " +
            groupedNumber(static_cast<std::int64_t>(run.solutions.size())) + " of this run's " +
            context.naming.noun(2) + ".</p>";
  }
  return html;
}

// The distances among the first largestSide schedules, with a note of the ones left out, folded
// under a line that says the matrix's size and order.
std::string distancesPart(const RunRecord& run, const RunContext& context,
                          std::size_t largestSide) {
  const std::size_t count = run.solutions.size();
  const std::size_t side =
      std::min({count, largestSide,
                comparedSchedules(static_cast<std::size_t>(context.instance.geneCount()))});
  const std::vector<std::vector<int>> shown = distanceMatrix(std::vector<RecordedSolution>(
      run.solutions.begin(), run.solutions.begin() + static_cast<std::ptrdiff_t>(side)));
  const std::string noun = context.naming.noun(2);
  std::string summary = "Distances between ";
  summary += side < count
                 ? "the first " + groupedNumber(static_cast<std::int64_t>(side)) + " of the " +
                       groupedNumber(static_cast<std::int64_t>(count)) + " " + noun
                 : "the " + groupedNumber(static_cast<std::int64_t>(count)) + " " + noun;
  summary += " (" + groupedNumber(static_cast<std::int64_t>(side)) + " \u00d7 " +
             groupedNumber(static_cast<std::int64_t>(side)) +
             "), ordered by average-linkage clustering";
  std::string note = "<p class=\"note\">Distances between the " + noun +
                     " (machine-order cells whose job differs, out of " +
                     groupedNumber(context.instance.geneCount()) + ")";
  if (side < count) {
    note += ", among the first " + groupedNumber(static_cast<std::int64_t>(side)) + " of the " +
            groupedNumber(static_cast<std::int64_t>(count)) + "; the other " +
            groupedNumber(static_cast<std::int64_t>(count - side)) +
            " are left out of this page (the average over all pairs is the run's line in " +
            kDistanceFileName + ", its " + noun + " are " + linesOfRun(run) + ")";
  }
  note += "; rows and columns are ordered so that close " + noun +
          " sit together, and keep the numbers of the " + noun +
          "; darker cells are farther apart" +
          (side > kNumberedMatrixSide ? ", and each cell gives its distance when pointed at" : "") +
          ".</p>";
  return distanceTable(shown, summary, note);
}

std::string runHeading(const RunRecord& run, std::size_t runIndex, const RunContext& context,
                       bool open) {
  const std::size_t count = run.solutions.size();
  std::size_t shared = 0;
  for (std::size_t index : context.optima.indexOf[runIndex]) {
    if (context.optima.schedules[index].runs.size() > 1) ++shared;
  }
  std::string html = "<details class=\"run-optima\" id=\"run-" + std::to_string(run.run) + "\"" +
                     (open ? " open=\"open\"" : "") + "><summary>Run " + std::to_string(run.run) +
                     ": makespan " + plainNumber(run.best) + ", " +
                     groupedNumber(static_cast<std::int64_t>(count)) + " distinct " +
                     context.naming.noun(static_cast<std::int64_t>(count));
  if (run.averageDistance) {
    html += ", average distance " + fixedNumber(*run.averageDistance, 2);
  }
  if (count > 0)
    html += ", " + groupedNumber(static_cast<std::int64_t>(shared)) + " also found by other runs";
  if (context.coverage && context.coverage->listed) {
    html += ", found <span class=\"run-coverage\">" + runCoverageText(*context.coverage, runIndex) +
            "</span> enumerated";
  }
  return html + "</summary>";
}

// One line that says what the outlines mean, before a run's charts and machine orders.
std::string differenceLegend(const ScheduleNaming& naming) {
  const std::string first = naming.noun(1) + " 1";
  return "<p class=\"note differences\">Cells that differ from " + first +
         " are outlined: the bars and machine-order entries whose place in their machine's order "
         "holds another job in " +
         first + ".</p>";
}

// The bars of schedule k of the run whose place on their machine holds another job in the run's
// first schedule; none for the first itself.
std::vector<bool> outlinedOperations(const RunRecord& run, std::size_t k,
                                     const SemiActiveSchedule& schedule, int jobs) {
  if (k == 0) return {};
  const std::vector<int>& sequences = run.solutions[k].sequences;
  return operationsInCells(schedule, sequences,
                           differingCells(sequences, run.solutions.front().sequences), jobs);
}

// Said once per run in place of its charts, for an instance too large to draw.
std::string unchartedNote(const RunContext& context) {
  return "<p class=\"note left-out\">This instance has " +
         groupedNumber(context.instance.geneCount()) + " operations, more than a chart shows (" +
         groupedNumber(kChartedOperations) + "), so no " + context.naming.noun(1) +
         " of it is drawn.</p>";
}

// A run's part of the page, and how many of its bytes are a matrix too large to carry numbers.
struct RunPart {
  std::string html;
  std::size_t denseMatrixBytes = 0;
};

RunPart runOptima(const RunRecord& run, std::size_t runIndex, const RunContext& context,
                  const std::vector<SemiActiveSchedule>& schedules, bool open,
                  std::size_t largestMatrixSide) {
  std::string html = runHeading(run, runIndex, context, open);
  if (run.solutions.empty()) {
    return {html + "<p class=\"unusable\">No solution of this run could be read.</p></details>"};
  }
  const bool charted = context.instance.geneCount() <= kChartedOperations;
  const DrawnOptima chosen = drawnOptima(run, schedules, charted);
  if (!charted) html += unchartedNote(context);
  const FarthestPair& farthest = chosen.farthest;
  if (run.solutions.size() >= 2) html += differenceLegend(context.naming);
  for (std::size_t k = 0; k < run.solutions.size(); ++k) {
    if (!chosen.drawn[k]) continue;
    std::string name = optimumName(
        run, k, context.optima.schedules[context.optima.indexOf[runIndex][k]], context.naming);
    if (farthest.distance > 0 && (k == farthest.first || k == farthest.second))
      name += farthestNote(farthest);
    if (k > 0) {
      name +=
          "; " +
          groupedNumber(sequenceDistance(run.solutions[0].sequences, run.solutions[k].sequences)) +
          " cells differ from " + context.naming.noun(1) + " 1";
    }
    // Rebuilt again here: the schedules keep no operations, which only the drawn few need.
    const SemiActiveSchedule drawn = rebuildSchedule(context.instance, run.solutions[k].sequences);
    html += "<figure class=\"chart\"><figcaption>" + escapeMarkup(name) + "</figcaption>" +
            ganttChart(drawn, context.instance,
                       outlinedOperations(run, k, drawn, context.instance.jobs)) +
            "</figure>";
  }
  html += otherOptima(run, runIndex, context, schedules, chosen.drawn);
  std::string distances;
  if (run.solutions.size() >= 2) distances = distancesPart(run, context, largestMatrixSide);
  const bool dense = std::min(run.solutions.size(), largestMatrixSide) > kNumberedMatrixSide;
  return {html + distances + "</details>", dense ? distances.size() : 0};
}

// What the runs' part says before them: how each run is shown, and where the rest is.
std::string sectionNote(const ScheduleNaming& naming) {
  return "<p class=\"note\">Each run that reached the target, with its " +
         naming.phrase(2, "distinct") +
         " rebuilt from their machine orders (every operation as early as its job and its machine "
         "allow). Up to " +
         std::to_string(kGanttChartsPerRun) + " of a run are drawn: its first " + naming.noun(1) +
         " and the two farthest apart; rows are machines, the pale lanes are idle time. Up to " +
         std::to_string(kListedOptimaPerRun) +
         " more are listed as machine orders, and distances are shown among the first " +
         std::to_string(kMatrixSide) + " (the first " + std::to_string(kNumberedMatrixSide) +
         " once the page holds many large matrices); " + kSolutionFileName + " holds every " +
         naming.noun(1) +
         ", and the CSV the report writes with --csv every run's figures. Click a run to open "
         "it.</p>";
}

}  // namespace

std::string runOptimaSection(const std::vector<RunRecord>& runs, const OptimumUnion& optima,
                             const std::vector<std::vector<SemiActiveSchedule>>& schedules,
                             const Instance& instance,
                             const std::optional<OptimaCoverage>& coverage) {
  const RunContext context{optima, instance, coverage, scheduleNaming(coverage)};
  std::string html = "<section id=\"optima\"><h2>" + context.naming.heading() + " of each run</h2>";
  std::string folded;
  std::size_t undrawn = 0;
  std::size_t denseMatrixBytes = 0;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (!runs[r].reachedTarget) continue;
    if (folded.size() - denseMatrixBytes >= kRunOptimaBytes) {
      // Only its place, so that links to it still lead somewhere.
      folded += "<span id=\"run-" + std::to_string(runs[r].run) + "\"></span>";
      ++undrawn;
      continue;
    }
    const std::size_t largestSide =
        denseMatrixBytes < kDenseMatrixBytes ? kMatrixSide : kNumberedMatrixSide;
    const RunPart part = runOptima(runs[r], r, context, schedules[r], folded.empty(), largestSide);
    folded += part.html;
    denseMatrixBytes += part.denseMatrixBytes;
  }
  if (folded.empty()) {
    return html + "<p>No run reached the target makespan " +
           groupedNumber(instance.targetMakespan) + ", so there are no " +
           context.naming.phrase(2) + " to show.</p></section>";
  }
  html += sectionNote(context.naming);
  if (undrawn > 0) {
    html += "<p class=\"note left-out\">The " + context.naming.noun(2) + " of the last " +
            (undrawn == 1 ? std::string("run")
                          : groupedNumber(static_cast<std::int64_t>(undrawn)) + " runs") +
            " that reached the target are not shown, so that this page stays small; " +
            kSolutionFileName + " holds them.</p>";
  }
  return html + jobLegend(instance.jobs) + folded + "</section>";
}

}  // namespace jobshop
