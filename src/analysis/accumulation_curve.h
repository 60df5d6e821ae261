// How the number of distinct schedules grows with the number of runs, averaged over every order
// the runs could have come in: where it flattens, more runs add little.
#pragma once

#include <cstddef>
#include <vector>

namespace jobshop {

// S(t) for t = 1..runCount (element t-1), by exact rarefaction.
std::vector<double> accumulationCurve(const std::vector<std::size_t>& runsHolding,
                                      std::size_t runCount);

}  // namespace jobshop
