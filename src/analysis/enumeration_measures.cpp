// Peak ratio and success rate of the runs against a complete list of the schedules.
#include "analysis/enumeration_measures.h"

#include <set>

namespace jobshop {

namespace {

std::size_t listedFoundBy(const RunRecord& run, const std::set<std::vector<int>>& listed) {
  // A run that records one schedule twice (files that disagree) still found it once.
  std::set<std::vector<int>> distinct;
  for (const RecordedSolution& solution : run.solutions) {
    if (listed.contains(solution.sequences)) distinct.insert(solution.sequences);
  }
  return distinct.size();
}

}  // namespace

std::optional<EnumerationMeasures> enumerationMeasures(const OptimaCoverage& coverage,
                                                       const std::vector<RunRecord>& runs,
                                                       const OptimumUnion& optima) {
  const std::set<std::vector<int>>& listed = coverage.enumeration.schedules;
  if (!coverage.listed || !coverage.enumeration.complete || listed.empty()) return std::nullopt;
  EnumerationMeasures measures;
  measures.listed = listed.size();
  std::set<int> counted;
  std::size_t foundSum = 0;
  std::size_t complete = 0;
  for (const RunRecord& run : runs) {
    if (run.repeatOf != 0) continue;
    counted.insert(run.run);
    const std::size_t found = listedFoundBy(run, listed);
    foundSum += found;
    if (found == measures.listed) ++complete;
  }
  if (counted.empty()) return std::nullopt;
  for (const SharedOptimum& optimum : optima.schedules) {
    if (!listed.contains(optimum.sequences)) continue;
    for (const int run : optimum.runs) {
      if (!counted.contains(run)) continue;
      ++measures.found;
      break;
    }
  }
  const double t = static_cast<double>(counted.size());
  measures.peakRatio = static_cast<double>(foundSum) / (static_cast<double>(measures.listed) * t);
  measures.successRate = static_cast<double>(complete) / t;
  return measures;
}

}  // namespace jobshop
