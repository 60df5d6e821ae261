// The optima command's count by pair orders: which search counts (--search), and the count's
// summary lines.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "exact/disjunctive_count.h"
#include "exact/search_problem.h"
#include "results/optima_file.h"
#include "support/stop_condition.h"

namespace jobshop {

enum class CountSearch { kStates, kDisjunctive, kAuto };

// "states", "disjunctive" or "auto"; nothing for another word.
std::optional<CountSearch> parseCountSearch(const std::string& word);

// Counts within summary.bound by pair orders and fills in summary's count and completeness.
DisjunctiveCountResult countByPairOrders(const SearchProblem& problem, const StopCondition& stop,
                                         int threads, EnumeratedOptima& summary);

// The lines the summary holds after "complete" for a count by pair orders.
void printPairOrderLines(const EnumeratedOptima& summary, std::ostream& out);

}  // namespace jobshop
