// The optimal schedules on the page: every distinct schedule over all runs with the runs that
// found it, and per run its optima as Gantt charts and machine orders, folded so that long pages
// stay readable.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "input/instance.h"
#include "report/optima_coverage.h"
#include "report/optimum_union.h"
#include "report/result_records.h"
#include "report/semi_active_schedule.h"

namespace jobshop {

// Bounds that keep the page small (a few megabytes) whatever the folder holds; what they leave
// out is named on the page, and is in the result files. How many optima of a run are drawn as
// Gantt charts, how many more are listed as machine orders, how many rows and columns the run's
// distance matrix has at most, how many schedules the table over all runs lists, and the bytes of
// the runs' optima past which further runs are not drawn.
inline constexpr std::size_t kGanttChartsPerRun = 3;
inline constexpr std::size_t kListedOptimaPerRun = 30;
inline constexpr std::size_t kMatrixSide = 30;
inline constexpr std::size_t kSharedSchedulesShown = 300;
inline constexpr std::size_t kRunOptimaBytes = 4'000'000;

// A <section id="optima-overall">: how many distinct schedules the runs found together, and a
// table of them (class "shared-optima", one row per schedule with the runs that found it). With
// an enumeration, also how many of its schedules the runs found and, when it lists them, a column
// marking each schedule as in it or not.
std::string overallOptimaSection(const OptimumUnion& optima, const Instance& instance,
                                 const std::optional<OptimaCoverage>& coverage);

// A <section id="optima">: for each run that reached the target a <details id="run-N"> (the first
// one open) with its Gantt charts, its other optima as machine orders, and its distances; its
// heading says how many of a listed enumeration's schedules it found.
std::string runOptimaSection(const std::vector<RunRecord>& runs, const OptimumUnion& optima,
                             const std::vector<std::vector<SemiActiveSchedule>>& schedules,
                             const Instance& instance,
                             const std::optional<OptimaCoverage>& coverage);

// Machine orders as HTML, one <span class="order"> per machine, so that lines break only between
// machines.
std::string machineOrders(const std::vector<int>& sequences, int jobs);

}  // namespace jobshop
