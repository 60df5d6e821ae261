// The optimum as a depth-first search whose bound falls with every schedule it finds.
#include "exact/optimum_search.h"

#include "exact/schedule_search.h"

namespace jobshop {

OptimumResult findOptimum(const SearchProblem& problem, const StopCondition& stop) {
  SearchSettings limits;
  // Every semi-active schedule fits within the total work, so the first leaf is a schedule.
  limits.bound = static_cast<int>(totalWork(problem));
  limits.tighten = true;
  limits.stop = &stop;
  const SearchOutcome outcome = searchSubtree(problem, {}, limits);
  OptimumResult result;
  result.makespan = outcome.found > 0 ? outcome.best : limits.bound;
  result.proven = !outcome.stopped;
  result.nodes = outcome.nodes;
  return result;
}

}  // namespace jobshop
