// The enumeration's coverage as the page shows it: the sentence beside the union count, the mark
// of each distinct schedule, and a run's "found k of K".
#pragma once

#include <cstddef>
#include <string>

#include "analysis/optima_coverage.h"
#include "analysis/optimum_union.h"

namespace jobshop {

// A <p class="coverage">: with a list, "found k of K" (class "found-of-enumerated" holds k,
// "enumerated-count" K), how many listed schedules no run found, and how many recorded ones are
// missing from a complete enumeration; with the count alone, "K optimal schedules exist" beside
// the distinct schedules the runs found. Says what bound was counted and whether K is only a
// lower bound; an enumeration cut before it counted any is said to be so, not "at least 0".
std::string coverageParagraph(const OptimaCoverage& coverage, const OptimumUnion& optima);

// A <td class="enumeration ..."> for one distinct schedule of the runs: "line 12 of optima.txt"
// (where the list holds it; "in the enumeration" when its line is not known),
// "missing from the enumeration" (class "missing"), or why it could not be there.
std::string enumerationCell(const OptimaCoverage& coverage, const SharedOptimum& optimum);

// "12 of 53" (or "12 of at least 53") for runs[runIndex]; "" without a list.
std::string runCoverageText(const OptimaCoverage& coverage, std::size_t runIndex);

}  // namespace jobshop
