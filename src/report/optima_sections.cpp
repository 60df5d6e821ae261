// The optimal schedules on the page: every distinct schedule over all runs with the runs that
// found it, and per run its optima as Gantt charts and machine orders, folded so that long pages
// stay readable.
#include "report/optima_sections.h"

#include <algorithm>
#include <map>

#include "report/coverage_markup.h"
#include "report/distance_table.h"
#include "report/gantt_chart.h"
#include "report/markup.h"
#include "report/optimum_distances.h"
#include "report/report_tables.h"
#include "results/result_files.h"

namespace jobshop {

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

// The optima drawn as Gantt charts: the first, the two farthest apart (the first such pair), and
// then the next ones in order, up to kGanttChartsPerRun; undrawable ones are skipped.
struct DrawnOptima {
  std::vector<bool> drawn;
  std::size_t first = 0, second = 0;  // the farthest pair, when farthest >= 0
  int farthest = -1;
};

DrawnOptima drawnOptima(const std::vector<std::vector<int>>& matrix,
                        const std::vector<SemiActiveSchedule>& schedules) {
  const std::size_t count = matrix.size();
  auto drawable = [&](std::size_t k) {
    return k < schedules.size() && schedules[k].problem.empty();
  };
  std::vector<bool> drawn(count, false);
  std::size_t chosen = 0;
  auto choose = [&](std::size_t k) {
    if (chosen < kGanttChartsPerRun && drawable(k) && !drawn[k]) {
      drawn[k] = true;
      ++chosen;
    }
  };
  for (std::size_t k = 0; k < count && chosen == 0; ++k) choose(k);
  int farthest = -1;
  std::size_t first = 0;
  std::size_t second = 0;
  for (std::size_t i = 0; i < count; ++i) {
    for (std::size_t j = i + 1; j < count; ++j) {
      if (drawable(i) && drawable(j) && matrix[i][j] > farthest) {
        farthest = matrix[i][j];
        first = i;
        second = j;
      }
    }
  }
  if (farthest >= 0 && kGanttChartsPerRun - chosen >= 2) {
    choose(first);
    choose(second);
  } else {
    farthest = -1;
  }
  for (std::size_t k = 0; k < count; ++k) choose(k);
  return DrawnOptima{drawn, first, second, farthest};
}

// "Optimum k (its line, the runs that also found it)".
std::string optimumName(const RunRecord& run, std::size_t k, const SharedOptimum& optimum) {
  return "Optimum " + std::to_string(k + 1) + " (" + kSolutionFileName + " line " +
         std::to_string(run.solutions[k].line) + ", " + sharedWith(optimum, run.run) + ")";
}

std::string linesOfRun(const RunRecord& run) {
  return kSolutionFileName + std::string(" lines ") + std::to_string(run.solutions.front().line) +
         "&#8211;" + std::to_string(run.solutions.back().line);
}

// The optima not drawn: up to kListedOptimaPerRun as machine orders (or why they cannot be drawn),
// then a note of how many more there are and where.
std::string otherOptima(const RunRecord& run, std::size_t runIndex, const OptimumUnion& optima,
                        const std::vector<SemiActiveSchedule>& schedules, const Instance& instance,
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
    const std::string name = optimumName(run, k, optima.schedules[optima.indexOf[runIndex][k]]);
    if (!schedules[k].problem.empty()) {
      html += "<p class=\"unusable\">" + escapeMarkup(name) +
              " is not drawn: " + escapeMarkup(schedules[k].problem) + ".</p>";
    } else {
      rest += "<li><span class=\"name\">" + escapeMarkup(name) + ":</span> " +
              machineOrders(run.solutions[k].sequences, instance.jobs) + "</li>";
    }
  }
  if (!rest.empty()) {
    html +=
        "<p class=\"note\">The other optima of this run, as machine orders:</p><ul "
        "class=\"rest\">" +
        rest + "</ul>";
  }
  if (left > 0) {
    html += "<p class=\"note left-out\">" + std::to_string(left) + " more optim" +
            (left == 1 ? "um is" : "a are") + " left out of this page to keep it small; " +
            linesOfRun(run) + " hold all " + std::to_string(run.solutions.size()) +
            " of this run's optima.</p>";
  }
  return html;
}

// The distances among the first kMatrixSide optima, with a note of the ones left out.
std::string distancesPart(const RunRecord& run, const std::vector<std::vector<int>>& matrix,
                          const Instance& instance) {
  const std::size_t count = matrix.size();
  const std::size_t side = std::min(count, kMatrixSide);
  std::vector<std::vector<int>> shown(side);
  for (std::size_t i = 0; i < side; ++i) {
    shown[i].assign(matrix[i].begin(), matrix[i].begin() + static_cast<std::ptrdiff_t>(side));
  }
  std::string html =
      "<p class=\"note\">Distances between the optima (machine-order cells whose job differs, "
      "out of " +
      std::to_string(instance.geneCount()) + ")";
  if (side < count) {
    html += ", among the first " + std::to_string(side) + " of the " + std::to_string(count) +
            "; the other " + std::to_string(count - side) +
            " are left out of this page (the average over all pairs is the run's line in " +
            kDistanceFileName + ", its optima are " + linesOfRun(run) + ")";
  }
  return html + ":</p>" + distanceTable(shown, instance.geneCount());
}

std::string runHeading(const RunRecord& run, std::size_t runIndex, const OptimumUnion& optima,
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
  return html + "</summary>";
}

std::string runOptima(const RunRecord& run, std::size_t runIndex, const OptimumUnion& optima,
                      const std::vector<SemiActiveSchedule>& schedules, const Instance& instance,
                      const std::optional<OptimaCoverage>& coverage, bool open) {
  std::string html = runHeading(run, runIndex, optima, coverage, open);
  if (run.solutions.empty()) {
    return html + "<p class=\"unusable\">No solution of this run could be read.</p></details>";
  }
  const std::vector<std::vector<int>> matrix = distanceMatrix(run.solutions);
  const DrawnOptima chosen = drawnOptima(matrix, schedules);
  for (std::size_t k = 0; k < run.solutions.size(); ++k) {
    if (!chosen.drawn[k]) continue;
    std::string name = optimumName(run, k, optima.schedules[optima.indexOf[runIndex][k]]);
    if (chosen.farthest > 0 && (k == chosen.first || k == chosen.second)) {
      name += ", one of the two farthest apart (distance " + std::to_string(chosen.farthest) + ")";
    }
    html += "<figure class=\"chart\"><figcaption>" + escapeMarkup(name) + "</figcaption>" +
            ganttChart(schedules[k], instance) + "</figure>";
  }
  html += otherOptima(run, runIndex, optima, schedules, instance, chosen.drawn);
  if (run.solutions.size() >= 2) html += distancesPart(run, matrix, instance);
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
  const std::size_t shown = std::min(optima.schedules.size(), kSharedSchedulesShown);
  for (std::size_t k = 0; k < shown; ++k) {
    const SharedOptimum& optimum = optima.schedules[k];
    html += "<tr><td>" + std::to_string(k + 1) + "</td><td class=\"found-by\">" + foundBy(optimum) +
            "</td><td class=\"runs\">" + runList(optimum.runs) + "</td><td>line " +
            std::to_string(optimum.firstLine) + "</td>" +
            (matched ? enumerationCell(*coverage, optimum) : std::string()) +
            "<td class=\"orders\">" + machineOrders(optimum.sequences, instance.jobs) +
            "</td></tr>";
  }
  html += "</tbody></table></div>";
  if (shown < optima.schedules.size()) {
    html += "<p class=\"note left-out\">The first " + std::to_string(shown) + " of the " +
            std::to_string(optima.schedules.size()) + " schedules are listed; the other " +
            std::to_string(optima.schedules.size() - shown) +
            " are left out of this page to keep " + "it small (" + kSolutionFileName +
            " holds every run's optima).</p>";
  }
  return html + "</details></section>";
}

std::string runOptimaSection(const std::vector<RunRecord>& runs, const OptimumUnion& optima,
                             const std::vector<std::vector<SemiActiveSchedule>>& schedules,
                             const Instance& instance,
                             const std::optional<OptimaCoverage>& coverage) {
  std::string html = "<section id=\"optima\"><h2>Optimal schedules of each run</h2>";
  std::string folded;
  std::size_t undrawn = 0;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (!runs[r].reachedTarget) continue;
    if (folded.size() >= kRunOptimaBytes) {
      // Only its place, so that links to it still lead somewhere.
      folded += "<span id=\"run-" + std::to_string(runs[r].run) + "\"></span>";
      ++undrawn;
      continue;
    }
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
      "its machine allow). Up to " +
      std::to_string(kGanttChartsPerRun) +
      " of a run are drawn: its first optimum and the two farthest apart; rows are machines, the "
      "pale lanes are idle time. Up to " +
      std::to_string(kListedOptimaPerRun) +
      " more are listed as machine orders, and distances are shown among the first " +
      std::to_string(kMatrixSide) + "; " + kSolutionFileName +
      " holds every optimum, and the CSV the report writes with --csv every run's figures. Click "
      "a run to open it.</p>";
  if (undrawn > 0) {
    html += "<p class=\"note left-out\">The optima of the last " + std::to_string(undrawn) +
            " runs that reached the target are not shown, so that this page stays small; " +
            kSolutionFileName + " holds them.</p>";
  }
  return html + jobLegend(instance.jobs) + folded + "</section>";
}

}  // namespace jobshop
