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

// The count by pair orders into summary's count and completeness.
void takePairOrderCount(const DisjunctiveCountResult& counted, EnumeratedOptima& summary);

// "search states|disjunctive", and what auto's trial of the disjunctive search walked when it
// handed the count to the state search.
void printSearchLines(bool byPairOrders, std::int64_t trialNodes, std::ostream& out);

// The lines that follow for a count by pair orders.
// interruption: the signal that stopped the count, 0 when none did.
void printPairOrderLines(const EnumeratedOptima& summary, int interruption, std::ostream& out);

}  // namespace jobshop
