// The node-limited trial of the count by pair orders.
#include "exact/count_search_choice.h"

#include <algorithm>

namespace jobshop {

SearchTrial tryDisjunctiveCount(const SearchProblem& problem, int bound,
                                const StopCondition& stop) {
  SearchTrial trial;
  if (!fitsDisjunctiveCount(problem)) return trial;
  StopCondition limited = stop;
  limited.nodeLimit = std::min(stop.nodeLimit, kDisjunctiveTrialNodes);
  const DisjunctiveCountResult result = countDisjunctive(problem, {bound, 1, &limited});
  trial.trialNodes = result.nodes;
  // A stop of the caller's (a deadline, a signal) ends the whole count, not only the trial.
  if (result.complete || stop.reached()) trial.counted = result;
  return trial;
}

}  // namespace jobshop
