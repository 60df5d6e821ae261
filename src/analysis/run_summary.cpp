// Figures drawn from the aligned runs: per run (improvements, last improving generation) and over
// all runs (best and median best, runs that reached the target, optima and distances).
#include "analysis/run_summary.h"

#include <algorithm>

namespace jobshop {

RunFigures runFigures(const RunRecord& run) {
  RunFigures figures;
  if (run.progress.size() > 1) {
    figures.improvingGenerations = static_cast<int>(run.progress.size()) - 1;
    figures.lastImprovingGeneration = run.progress.back().generation;
  }
  return figures;
}

ReportSummary summariseRuns(const std::vector<RunRecord>& runs, std::size_t distinctOptima) {
  ReportSummary summary;
  summary.runs = static_cast<int>(runs.size());
  std::vector<double> bests;
  double distanceSum = 0.0;
  for (const RunRecord& run : runs) {
    bests.push_back(run.best);
    if (run.reachedTarget) ++summary.runsReachingTarget;
    if (run.cut) ++summary.runsCut;
    if (run.distinctOptima) {
      const int optima = *run.distinctOptima;
      summary.fewestOptima = std::min(summary.fewestOptima.value_or(optima), optima);
      summary.mostOptima = std::max(summary.mostOptima.value_or(optima), optima);
      summary.totalOptima += optima;
    }
    if (run.averageDistance) {
      distanceSum += *run.averageDistance;
      ++summary.runsWithDistance;
    }
  }
  if (!bests.empty()) {
    std::sort(bests.begin(), bests.end());
    const std::size_t middle = bests.size() / 2;
    summary.bestMakespan = bests.front();
    summary.medianBest =
        bests.size() % 2 == 1 ? bests[middle] : (bests[middle - 1] + bests[middle]) / 2.0;
  }
  if (summary.runsReachingTarget > 0) {
    summary.distinctOptimaOverall = static_cast<int>(distinctOptima);
  }
  if (summary.runsWithDistance > 0) {
    summary.meanAverageDistance = distanceSum / summary.runsWithDistance;
  }
  return summary;
}

}  // namespace jobshop
