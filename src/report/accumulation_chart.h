// The accumulation curve on the page: how many distinct schedules of the best makespan t runs
// find on average, against how many exist (counted exactly, or estimated), so that a reader sees
// whether more runs would still find new ones.
#pragma once

#include <optional>
#include <string>

#include "analysis/report_analysis.h"
#include "analysis/schedule_incidence.h"

namespace jobshop {

// True when there is a curve to draw: a best makespan at or below the target, at least two
// counted runs, and a schedule of that makespan.
bool hasAccumulation(const ScheduleIncidence& incidence);

// A <section id="accumulation"> with the analysis' curve as SVG (class "accumulation"): the exact
// count as a dashed ceiling (class "ceiling") where a complete enumeration counted at the best
// makespan, otherwise the Chao2 estimate (class "estimate") over its 95 % interval (class
// "estimate-band"); and a note of what one more run would add. "" when
// !hasAccumulation(analysis.incidence).
std::string accumulationSection(const ReportAnalysis& analysis);

}  // namespace jobshop
