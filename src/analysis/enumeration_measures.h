// How close the runs came to finding every schedule of a complete enumeration: on average, the
// share of the listed schedules a run found (peak ratio), and how often a run found them all
// (success rate).
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "analysis/optima_coverage.h"
#include "analysis/optimum_union.h"
#include "results/result_records.h"

namespace jobshop {

struct EnumerationMeasures {
  std::size_t listed = 0;  // K
  std::size_t found = 0;   // listed schedules found by any counted run
  double peakRatio = 0;    // sum over counted runs of listed schedules found / (K * T)
  double successRate = 0;  // share of counted runs that found all K
};

// Over the counted runs (copies are left out) among runs, which may be any part of the runs that
// optima united, such as one execution's. Nothing without a list of a complete enumeration, and
// nothing when it lists no schedule or runs has no counted run.
std::optional<EnumerationMeasures> enumerationMeasures(const OptimaCoverage& coverage,
                                                       const std::vector<RunRecord>& runs,
                                                       const OptimumUnion& optima);

}  // namespace jobshop
