// How the optimal schedules the runs found stand against the exact enumeration that the optima
// command left in "optima.json": found k of K, which ones it lists, and what it should list but
// does not.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/optimum_union.h"
#include "input/instance.h"
#include "results/optima_file.h"
#include "results/result_records.h"

namespace jobshop {

struct OptimaCoverage {
  EnumeratedOptima enumeration;
  int target = 0;  // the instance's target makespan
  // The schedules were read from a list, so the runs' schedules can be matched against them;
  // without one only the count is known.
  bool listed = false;
  std::size_t foundOverall = 0;         // distinct schedules of all runs that the list holds
  std::vector<std::size_t> foundByRun;  // per runs[r]: its distinct schedules the list holds
};

// Where a recorded schedule stands. kMissing is a fault: the enumeration is complete, its bound
// is at least the schedule's makespan, and still it does not list it.
enum class EnumerationStatus { kUnmatched, kListed, kAboveBound, kNotInPartialList, kMissing };

// Matches the runs' schedules against enumeration. Returns nullopt, with a problem, when the
// enumeration is of an instance of another size; otherwise adds one problem per schedule a run
// recorded that the enumeration should list and does not (at most a screenful, then one line
// with how many more).
// optima is uniteOptima(runs).
std::optional<OptimaCoverage> coverOptima(EnumeratedOptima enumeration, const Instance& instance,
                                          const std::vector<RunRecord>& runs,
                                          const OptimumUnion& optima,
                                          std::vector<std::string>& problems);

// kUnmatched when there is no list to match against.
EnumerationStatus enumerationStatus(const OptimaCoverage& coverage,
                                    const std::vector<int>& sequences, int makespan);

// True when "optima.json" proves the instance's target to be its optimum: only then does the page
// call the schedules the runs found "optimal"; otherwise they are "at or below the target" (the
// target may lie above the optimum, and without a proof nobody knows).
bool targetProvenOptimal(const std::optional<OptimaCoverage>& coverage);

// "66,989", or "at least 66,989" when the enumeration stopped before it was complete.
std::string enumeratedCountText(const EnumeratedOptima& enumeration);

// What was counted, for a sentence after the count: "optimal schedules (makespan ≤ 55, the
// proven optimum)", "schedules of makespan ≤ 58 (above the target 55)", "schedules of makespan
// ≤ 55 (the target, not proven to be the optimum)", ... with the bound's standing as the
// enumeration knows it; "optimal" only when the enumeration proved its bound optimal. Plain text.
std::string enumeratedScheduleWords(const OptimaCoverage& coverage);

}  // namespace jobshop
