// The runs as samples of the schedules of the best makespan they reached.
#include "analysis/schedule_incidence.h"

#include <cmath>
#include <set>

#include "results/run_marks.h"

namespace jobshop {

ScheduleIncidence scheduleIncidence(const OptimumUnion& optima, const std::vector<RunRecord>& runs,
                                    int targetMakespan) {
  ScheduleIncidence incidence;
  std::set<int> counted;
  for (const RunRecord& run : countedRuns(runs)) {
    counted.insert(run.run);
    const int best = static_cast<int>(std::lround(run.best));
    if (!incidence.bestMakespan || best < *incidence.bestMakespan) incidence.bestMakespan = best;
  }
  incidence.runCount = counted.size();
  if (!incidence.bestMakespan || *incidence.bestMakespan > targetMakespan) {
    incidence.bestMakespan.reset();
    return incidence;
  }
  for (std::size_t s = 0; s < optima.schedules.size(); ++s) {
    const SharedOptimum& optimum = optima.schedules[s];
    if (optimum.makespan != *incidence.bestMakespan) continue;
    // A copy is listed among the holders when it recorded the schedule first; it is no sample.
    std::size_t holding = 0;
    for (const int run : optimum.runs) holding += counted.contains(run) ? 1 : 0;
    if (holding == 0) continue;
    incidence.schedules.push_back(s);
    incidence.runsHolding.push_back(holding);
  }
  return incidence;
}

}  // namespace jobshop
