// Filling the optima command's summary from the count by pair orders.
#include "run/disjunctive_optima.h"

#include <cstdio>
#include <limits>

namespace jobshop {

std::optional<CountSearch> parseCountSearch(const std::string& word) {
  if (word == "states") return CountSearch::kStates;
  if (word == "disjunctive") return CountSearch::kDisjunctive;
  if (word == "auto") return CountSearch::kAuto;
  return std::nullopt;
}

DisjunctiveCountResult countByPairOrders(const SearchProblem& problem, const StopCondition& stop,
                                         int threads, EnumeratedOptima& summary) {
  const DisjunctiveCountResult result = countDisjunctive(problem, {summary.bound, threads, &stop});
  constexpr auto kLargest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (result.count > kLargest) {
    summary.count = std::numeric_limits<std::int64_t>::max();
    summary.countDigits = std::to_string(result.count);
  } else {
    summary.count = static_cast<std::int64_t>(result.count);
  }
  summary.complete = result.complete;
  return result;
}

void printPairOrderLines(const EnumeratedOptima& summary, std::ostream& out) {
  out << "search disjunctive\n"
      << (summary.complete ? "exact " : "lower bound ") << countText(summary) << "\n";
  if (summary.estimate) {
    char text[128];
    std::snprintf(text, sizeof text, "estimate %.3g (standard error %.2g, %lld probes, seed %llu)",
                  summary.estimate->value, summary.estimate->standardError,
                  static_cast<long long>(summary.estimate->probes),
                  static_cast<unsigned long long>(summary.estimate->seed));
    out << text << "\n";
  }
}

}  // namespace jobshop
