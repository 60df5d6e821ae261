// The page's section on where the schedules lie: the niche map and the histograms of their cell
// distances.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/optima_coverage.h"
#include "analysis/optimum_union.h"
#include "analysis/report_analysis.h"
#include "results/result_records.h"

namespace jobshop {

// True when the map would have at least two points: two found schedules, or with a list, found
// and unfound listed ones together.
bool hasNicheMap(const OptimumUnion& optima, const std::optional<OptimaCoverage>& coverage);

// A <section id="niche-map">: the analysis' map (nicheMapChart) with a note on how to read it, how
// much of the distances its two axes carry and what a sample left out; a legend; then its distance
// histograms side by side (<div class="distance-histograms">) under a sentence comparing the
// median distances of found and listed pairs. Empty unless hasNicheMap. runs: all of them.
std::string nicheMapSection(const ReportAnalysis& analysis, const std::vector<RunRecord>& runs);

}  // namespace jobshop
