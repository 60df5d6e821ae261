// The backbone of the enumerated schedules on the page: the cells of a schedule's machine orders
// that every enumerated schedule shares, the legend of their shade, and the backbone's size
// beside the exact count.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/optima_coverage.h"
#include "report/schedule_naming.h"

namespace jobshop {

// Per cell of sequences, whether it is the same in every enumerated schedule; empty (nothing
// shaded) without a backbone in optima.json or for a schedule above the enumeration's bound.
std::vector<bool> backboneShading(const std::optional<OptimaCoverage>& coverage,
                                  const std::vector<int>& sequences, int makespan, int jobs);

// A <p class="note backbone"> that says what the shaded cells are; "" without a backbone.
std::string backboneLegend(const std::optional<OptimaCoverage>& coverage,
                           const ScheduleNaming& naming);

// " The backbone: ..." after the exact count's sentence; "" without a backbone.
std::string backboneSentence(const EnumeratedOptima& enumeration);

}  // namespace jobshop
