// The estimates of how many schedules exist, and how the runs stand against a complete list of
// them, as the page words them beside the count of distinct schedules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "analysis/enumeration_measures.h"
#include "analysis/optima_coverage.h"
#include "analysis/richness_estimates.h"
#include "analysis/schedule_incidence.h"

namespace jobshop {

// An estimate for people: always one decimal, with thousands separators ("70,198.4"), so that it
// never reads as a count beside the whole numbers of an enumeration.
std::string estimateText(double value);

// That the estimators undercount where schedules differ in how hard they are to reach: plain
// text, said once on each page that shows estimates.
std::string undercountSentence();

// The exact count an enumeration gives of the schedules the estimates are about: only from a
// complete enumeration whose bound is the incidence's best makespan.
std::optional<std::int64_t> exactCountAtBest(const ScheduleIncidence& incidence,
                                             const std::optional<OptimaCoverage>& coverage);

// "schedules of makespan 55", or "optimal schedules (makespan 55)" when the enumeration proved
// that makespan optimal. Plain text.
std::string bestMakespanWords(const ScheduleIncidence& incidence,
                              const std::optional<OptimaCoverage>& coverage);

// A <p class="estimates">: Chao2 with its interval (class "chao2" holds the estimate), the two
// jackknives and the sample coverage, or, when the runs are too few, Chao2 alone as a muted
// lower bound (class "lower-bound") with the reason; the exact count beside them when there is one,
// which makespan they are about when that needs saying, and that they undercount. recorded is how
// many distinct schedules the runs recorded at any makespan. "" when estimates is empty or nothing
// was seen at the best makespan.
std::string estimatesParagraph(const ScheduleIncidence& incidence,
                               const std::optional<RichnessEstimates>& estimates,
                               const std::optional<OptimaCoverage>& coverage, int targetMakespan,
                               std::size_t recorded);

// A <p class="enumeration-measures">: peak ratio (class "peak-ratio") and success rate (class
// "success-rate") of the counted runs, with what each means.
std::string enumerationMeasuresParagraph(const EnumerationMeasures& measures,
                                         std::size_t countedRuns);

// "0.42 / 0.10": an execution's peak ratio and success rate, for a table cell.
std::string enumerationMeasuresCell(const EnumerationMeasures& measures);

}  // namespace jobshop
