// The schedules each run recorded at the target: per run its Gantt charts, its other schedules as
// machine orders and their distances, folded so that long pages stay readable.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/optima_coverage.h"
#include "analysis/optimum_union.h"
#include "analysis/semi_active_schedule.h"
#include "input/instance.h"
#include "report/overall_optima.h"
#include "results/result_records.h"

namespace jobshop {

// Bounds that keep the page small (a few megabytes) whatever the folder holds; what they leave
// out is named on the page, and is in the result files. How many schedules of a run are drawn as
// Gantt charts, how many more are listed as machine orders, how many rows and columns the run's
// distance matrix has at most, the bytes of matrices too large to carry numbers past which further
// runs' matrices keep only the rows and columns that do (kNumberedMatrixSide), and the bytes of
// the runs' other parts past which further runs are not drawn.
inline constexpr std::size_t kGanttChartsPerRun = 3;
inline constexpr std::size_t kListedOptimaPerRun = 30;
inline constexpr std::size_t kMatrixSide = 150;
inline constexpr std::size_t kDenseMatrixBytes = 2'000'000;
inline constexpr std::size_t kRunOptimaBytes = 4'000'000;
// Past this many operations (a 100 x 50 instance) a schedule's chart would be megabytes of bars
// too thin to see, so none is drawn.
inline constexpr int kChartedOperations = 5000;

// A <section id="optima">: for each run that reached the target a <details id="run-N"> (the first
// one open) with its Gantt charts, its other schedules as machine orders, and its distances; its
// heading says how many of a listed enumeration's schedules it found. The schedules are called
// optimal only when targetProvenOptimal(coverage).
std::string runOptimaSection(const std::vector<RunRecord>& runs, const OptimumUnion& optima,
                             const std::vector<std::vector<SemiActiveSchedule>>& schedules,
                             const Instance& instance,
                             const std::optional<OptimaCoverage>& coverage);

}  // namespace jobshop
