// The runs as samples of the schedules of the best makespan they reached: which schedules were
// seen, and in how many runs each, which is all the richness estimates look at.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "analysis/optimum_union.h"
#include "results/result_records.h"

namespace jobshop {

// The incidence data of the estimators: every counted run (not a copy) is one sample unit.
struct ScheduleIncidence {
  std::optional<int> bestMakespan;  // B: the lowest best makespan, when at or below the target
  std::size_t runCount = 0;  // T: counted runs, including those that held no schedule of makespan B
  std::vector<std::size_t> schedules;    // indices into OptimumUnion::schedules of makespan B
  std::vector<std::size_t> runsHolding;  // k_i: counted runs that held schedules[i]
};

// optima is uniteOptima(runs); runs are every run, copies included (they are left out here).
ScheduleIncidence scheduleIncidence(const OptimumUnion& optima, const std::vector<RunRecord>& runs,
                                    int targetMakespan);

}  // namespace jobshop
