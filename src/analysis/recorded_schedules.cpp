// The recorded optima rebuilt against the instance: a solution is drawn only when its machine
// orders are a schedule of this instance whose makespan is the one written on its line.
#include "analysis/recorded_schedules.h"

#include "results/result_files.h"

namespace jobshop {

std::vector<std::vector<SemiActiveSchedule>> rebuildRecordedSchedules(
    const std::vector<RunRecord>& runs, const Instance& instance,
    std::vector<std::string>& problems) {
  std::vector<std::vector<SemiActiveSchedule>> schedules;
  for (const RunRecord& run : runs) {
    std::vector<SemiActiveSchedule>& rebuilt = schedules.emplace_back();
    for (const RecordedSolution& solution : run.solutions) {
      SemiActiveSchedule schedule = rebuildSchedule(instance, solution.sequences);
      if (schedule.problem.empty() && schedule.makespan != solution.makespan) {
        schedule.problem = "rebuilt from its machine orders it ends at " +
                           std::to_string(schedule.makespan) + ", not at the recorded makespan " +
                           std::to_string(solution.makespan) +
                           ", so it does not belong to this instance";
      }
      if (!schedule.problem.empty()) {
        problems.push_back(std::string(kSolutionFileName) + " line " +
                           std::to_string(solution.line) + " (run " + std::to_string(run.run) +
                           "): " + schedule.problem + "; it is not drawn");
      }
      // Kept they would grow with every schedule of every run; the page rebuilds the few it draws.
      schedule.operations = {};
      rebuilt.push_back(std::move(schedule));
    }
  }
  return schedules;
}

}  // namespace jobshop
