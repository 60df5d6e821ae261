// Matching the runs of "executions.jsonl" recorded without offsets to the runs of the result files
// by counting.
#include "results/execution_matching.h"

#include <algorithm>
#include <cmath>

#include "results/result_files.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

std::string at(const LoggedExecution& execution) {
  return std::string(kExecutionRecordFileName) + ":" + std::to_string(execution.line) + ": ";
}

void checkInstance(const LoggedExecution& execution, const Instance& instance,
                   std::vector<std::string>& problems) {
  const bool differs = (execution.jobs && *execution.jobs != instance.jobs) ||
                       (execution.machines && *execution.machines != instance.machines) ||
                       (execution.target && *execution.target != instance.targetMakespan);
  if (!differs) return;
  auto shown = [](const std::optional<int>& value) {
    return value ? std::to_string(*value) : std::string("?");
  };
  problems.push_back(at(execution) + "the execution ran on " + shown(execution.jobs) + " jobs, " +
                     shown(execution.machines) + " machines, target " + shown(execution.target) +
                     ", but D_Entrada.txt holds " + std::to_string(instance.jobs) + " jobs, " +
                     std::to_string(instance.machines) + " machines, target " +
                     std::to_string(instance.targetMakespan));
}

}  // namespace

void matchLoggedRuns(const ExecutionLog& log, const Instance& instance,
                     std::vector<RunRecord>& runs, std::vector<std::string>& problems) {
  std::size_t next = 0;
  for (const LoggedExecution& execution : log.executions) {
    checkInstance(execution, instance, problems);
    for (std::size_t k = next; k < runs.size(); ++k) {
      if (runs[k].execution == execution.number) next = k + 1;
    }
    std::vector<const LoggedRun*> counted;
    for (const LoggedRun& logged : execution.runs) {
      if (!logged.offsetsRecorded) counted.push_back(&logged);
    }
    // Past an unreadable line, counting would give this execution that line's runs.
    if (!counted.empty() && log.brokenLine && execution.line > *log.brokenLine) return;
    const std::size_t left = static_cast<std::size_t>(
        std::count_if(runs.begin() + static_cast<std::ptrdiff_t>(next), runs.end(),
                      [](const RunRecord& run) { return !run.logged; }));
    if (counted.size() > left) {
      problems.push_back(at(execution) + "the execution records " + std::to_string(counted.size()) +
                         " runs, but only " + std::to_string(left) + " of the " +
                         std::to_string(runs.size()) + " runs in " + kOptimaFileName +
                         " are left for it");
      return;
    }
    bool mismatchNoted = false;
    for (const LoggedRun* logged : counted) {
      while (runs[next].logged) ++next;
      RunRecord& run = runs[next++];
      run.execution = execution.number;
      run.logged = *logged;
      // The record holds the float the run kept; the file its one-decimal rendering.
      // One mismatch usually shifts every later run, so each execution names only its first.
      if (!mismatchNoted && logged->bestMakespan &&
          std::fabs(*logged->bestMakespan - run.best) >= 0.05) {
        mismatchNoted = true;
        problems.push_back(at(execution) + "run " + std::to_string(logged->run) +
                           " of the execution ended at " + fixedNumber(*logged->bestMakespan, 1) +
                           ", but run " + std::to_string(run.run) + " in " + kOptimaFileName +
                           " at " + fixedNumber(run.best, 1) +
                           "; are runs missing from the record?");
      }
    }
  }
}

}  // namespace jobshop
