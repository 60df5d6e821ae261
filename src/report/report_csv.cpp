// The per-run table as comma-separated values, one row per aligned run, for spreadsheets and
// scripts.
#include "report/report_csv.h"

#include <cstdio>

#include "report/run_summary.h"

std::string reportCsv(const std::vector<RunRecord>& runs) {
  std::string csv =
      "run,best_makespan,reached_target,distinct_optima,average_distance,improving_generations,"
      "last_improving_generation\n";
  for (const RunRecord& run : runs) {
    const RunFigures figures = runFigures(run);
    char best[64];
    std::snprintf(best, sizeof best, "%.1f", run.best);
    char distance[64] = "";
    if (run.averageDistance) std::snprintf(distance, sizeof distance, "%.2f", *run.averageDistance);
    csv += std::to_string(run.run) + "," + best + "," + (run.reachedTarget ? "yes" : "no") + "," +
           (run.distinctOptima ? std::to_string(*run.distinctOptima) : "") + "," + distance + "," +
           std::to_string(figures.improvingGenerations) + "," +
           std::to_string(figures.lastImprovingGeneration) + "\n";
  }
  return csv;
}
