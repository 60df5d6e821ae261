// What "executions.jsonl" tells about a run beyond its figures: cut short, or a copy.
#include "results/run_marks.h"

#include <charconv>
#include <map>
#include <utility>

#include "input/parameter_table.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

const LoggedExecution* executionOf(const RunRecord& run, const ExecutionLog& log) {
  if (!run.logged || run.execution < 1 ||
      static_cast<std::size_t>(run.execution) > log.executions.size())
    return nullptr;
  return &log.executions[static_cast<std::size_t>(run.execution - 1)];
}

bool wasCut(const LoggedRun& logged, const LoggedExecution& execution) {
  if (logged.cut) return *logged.cut;
  if (!interrupted(execution)) return false;
  // A run ends when it has spent its budget or when a signal comes, so a run that spent it was
  // not cut even in an execution that was.
  const std::optional<std::int64_t> budget = evaluationBudget(execution);
  return !(budget && logged.evaluations && *logged.evaluations >= *budget);
}

// True when later, of a repeating execution, recorded exactly what earlier, the same run of the
// execution repeated, did: both follow one course, so they record the same when they end at the
// same point, both whole or both cut after the same evaluations. A run cut at another point
// holds another population (a niche kept at one point may be lost later), so it counts.
bool sameEnd(const RunRecord& earlier, const RunRecord& later) {
  if (!earlier.cut || !later.cut) return earlier.cut == later.cut;
  return later.logged->evaluations && later.logged->evaluations == earlier.logged->evaluations;
}

// Where each recorded run stands in runs, by its execution and its number there.
using RunIndex = std::map<std::pair<int, int>, std::size_t>;

// The run that later copies, numbered as runs are, or 0.
int copiedRun(const ExecutionLog& log, const std::vector<RunRecord>& runs, const RunIndex& index,
              const RunRecord& later) {
  const LoggedExecution& execution = log.executions[static_cast<std::size_t>(later.execution - 1)];
  for (const LoggedExecution& candidate : log.executions) {
    if (candidate.number >= later.execution) break;
    const auto found = index.find({candidate.number, later.logged->run});
    if (found == index.end() || !repeats(execution, candidate)) continue;
    const RunRecord& earlier = runs[found->second];
    if (sameEnd(earlier, later)) return earlier.repeatOf != 0 ? earlier.repeatOf : earlier.run;
  }
  return 0;
}

}  // namespace

std::optional<std::int64_t> evaluationBudget(const LoggedExecution& execution) {
  const char* const name = kParameterFields[parameterPosition(&Parameters::maxEvaluations)].name;
  for (const auto& [field, value] : execution.parameters) {
    if (field != name) continue;
    std::int64_t budget = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), budget);
    if (error == std::errc() && end == value.data() + value.size()) return budget;
  }
  return std::nullopt;
}

void markCutAndRepeatedRuns(const ExecutionLog& log, std::vector<RunRecord>& runs) {
  for (RunRecord& run : runs) {
    if (const LoggedExecution* execution = executionOf(run, log))
      run.cut = wasCut(*run.logged, *execution);
  }
  RunIndex index;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (executionOf(runs[r], log) != nullptr)
      index.emplace(std::pair{runs[r].execution, runs[r].logged->run}, r);
  }
  // Executions in the order recorded, so that a run is marked before a later one looks at it.
  for (const LoggedExecution& execution : log.executions) {
    if (!repeatedExecution(log, execution)) continue;
    for (auto at = index.lower_bound({execution.number, 0});
         at != index.end() && at->first.first == execution.number; ++at)
      runs[at->second].repeatOf = copiedRun(log, runs, index, runs[at->second]);
  }
}

std::vector<RunRecord> countedRuns(const std::vector<RunRecord>& runs) {
  std::vector<RunRecord> counted;
  counted.reserve(runs.size());
  for (const RunRecord& run : runs) {
    if (run.repeatOf == 0) counted.push_back(run);
  }
  return counted;
}

std::vector<ExecutionRepeat> executionRepeats(const ExecutionLog& log,
                                              const std::vector<RunRecord>& runs) {
  std::vector<ExecutionRepeat> repeats;
  for (const LoggedExecution& execution : log.executions) {
    const std::optional<int> earlier = repeatedExecution(log, execution);
    if (!earlier) continue;
    ExecutionRepeat& repeat = repeats.emplace_back(ExecutionRepeat{execution.number, *earlier});
    for (const RunRecord& run : runs) {
      if (run.execution != execution.number || !run.logged) continue;
      ++repeat.runs;
      if (run.repeatOf != 0) ++repeat.copies;
    }
  }
  return repeats;
}

std::string cutText(const RunRecord& run, const ExecutionLog& log) {
  if (!run.cut) return {};
  const LoggedExecution* execution = executionOf(run, log);
  const std::optional<std::int64_t> budget =
      execution ? evaluationBudget(*execution) : std::nullopt;
  if (!budget || !run.logged->evaluations) return "cut short";
  return "cut after " + groupedNumber(*run.logged->evaluations) + " of " + groupedNumber(*budget) +
         " evaluations";
}

}  // namespace jobshop
