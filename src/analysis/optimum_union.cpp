// The optimal schedules of all runs taken together: runs that find the same machine orders find
// the same schedule, so it is counted once, with the runs that found it.
#include "analysis/optimum_union.h"

#include <map>
#include <set>

namespace jobshop {

OptimumUnion uniteOptima(const std::vector<RunRecord>& runs) {
  OptimumUnion result;
  std::map<std::vector<int>, std::size_t> known;
  for (const RunRecord& run : runs) {
    std::vector<std::size_t>& indices = result.indexOf.emplace_back();
    for (const RecordedSolution& solution : run.solutions) {
      const auto [found, added] = known.try_emplace(solution.sequences, result.schedules.size());
      if (added) {
        result.schedules.push_back({solution.sequences, solution.makespan, {}, solution.line});
      }
      SharedOptimum& schedule = result.schedules[found->second];
      // A run that lists one schedule twice (a file that disagrees) still found it once, and a
      // copy of a run found nothing its original did not.
      const bool counted = run.repeatOf == 0 || schedule.runs.empty();
      if (counted && (schedule.runs.empty() || schedule.runs.back() != run.run)) {
        schedule.runs.push_back(run.run);
      }
      indices.push_back(found->second);
    }
  }
  return result;
}

std::size_t countedScheduleCount(const OptimumUnion& optima, const std::vector<RunRecord>& runs) {
  std::set<std::size_t> held;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (runs[r].repeatOf == 0) held.insert(optima.indexOf[r].begin(), optima.indexOf[r].end());
  }
  return held.size();
}

}  // namespace jobshop
