// Every distinct schedule the runs recorded at the target, over all runs: how many, which runs
// found each, where it was first recorded and, with a listed enumeration, where the list holds it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/report_analysis.h"
#include "input/instance.h"

namespace jobshop {

// How many schedules the table over all runs lists at most, and up to how many it shows open.
inline constexpr std::size_t kSharedSchedulesShown = 300;
inline constexpr std::size_t kOpenSharedSchedules = 20;

// A <section id="optima-overall">: how many distinct schedules the runs found together, and a
// table of them (class "shared-optima", one row per schedule with the runs that found it) folded
// in a <details> past kOpenSharedSchedules. With an enumeration, also how many of its schedules
// the runs found and, when it lists them, a column giving each schedule's line in the list.
// Schedules are called optimal only when targetProvenOptimal(coverage). Then the analysis'
// estimates of how many schedules of the best makespan exist and, with a complete list, the runs'
// peak ratio and success rate.
std::string overallOptimaSection(const ReportAnalysis& analysis, const Instance& instance);

}  // namespace jobshop
