// The niche map as inline SVG: the schedules the runs found as dots in the colour of the run that
// found each first, over the listed schedules no run found in grey.
#pragma once

#include <string>
#include <vector>

#include "analysis/niche_map.h"
#include "analysis/optimum_union.h"
#include "results/result_records.h"

namespace jobshop {

// An <svg class="niche-map"> drawn to equal scales both ways, with a bar showing a length in cells.
// Each found schedule on the map is a <circle class="found"> whose fill is the convergence plot's
// colour of its first run among counted and whose radius grows with how many counted runs held it;
// each unfound listed one a <circle class="unfound">, drawn first; every dot has a <title>.
// counted: the runs every figure is drawn from (countedRuns); runs: all of them, for copies.
std::string nicheMapChart(const NicheMap& map, const OptimumUnion& optima,
                          const std::vector<RunRecord>& runs,
                          const std::vector<RunRecord>& counted);

// The counted runs that held optimum, ascending, each copy standing for the run it copies.
std::vector<int> heldBy(const SharedOptimum& optimum, const std::vector<RunRecord>& runs);

// The radius of a found schedule's dot held by `holders` runs.
double dotRadius(std::size_t holders);

}  // namespace jobshop
