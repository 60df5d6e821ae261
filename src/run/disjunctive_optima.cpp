// Filling the optima command's summary from the count by pair orders.
#include "run/disjunctive_optima.h"

#include <csignal>
#include <cstdio>
#include <limits>

#include "run/count_only_optima.h"

namespace jobshop {

std::optional<CountSearch> parseCountSearch(const std::string& word) {
  if (word == "states") return CountSearch::kStates;
  if (word == "disjunctive") return CountSearch::kDisjunctive;
  if (word == "auto") return CountSearch::kAuto;
  return std::nullopt;
}

void takePairOrderCount(const DisjunctiveCountResult& counted, EnumeratedOptima& summary) {
  constexpr auto kLargest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (counted.count > kLargest) {
    summary.count = std::numeric_limits<std::int64_t>::max();
    summary.countDigits = std::to_string(counted.count);
  } else {
    summary.count = static_cast<std::int64_t>(counted.count);
  }
  summary.complete = counted.complete;
}

void printSearchLines(bool byPairOrders, std::int64_t trialNodes, std::ostream& out) {
  out << "search " << (byPairOrders ? "disjunctive" : "states") << "\n";
  if (!byPairOrders && trialNodes > 0) {
    out << "disjunctive trial unfinished after " << trialNodes << " nodes\n";
  }
}

void printPairOrderLines(const EnumeratedOptima& summary, int interruption, std::ostream& out) {
  printCountAndEstimateLines(summary, out);
  if (interruption != 0) {
    out << "stopped by " << (interruption == SIGINT ? "SIGINT" : "SIGTERM") << "\n";
  }
}

}  // namespace jobshop
