// The recorded optima rebuilt against the instance: a solution is drawn only when its machine
// orders are a schedule of this instance whose makespan is the one written on its line.
#pragma once

#include <string>
#include <vector>

#include "analysis/semi_active_schedule.h"
#include "input/instance.h"
#include "results/result_records.h"

namespace jobshop {

// One rebuilt schedule per recorded solution, indexed like runs[r].solutions, with its makespan
// and problem but not its operations (rebuildSchedule gives them again for a schedule drawn). A
// solution that is not a schedule of the instance, or whose rebuilt makespan differs from the
// recorded one, keeps a non-empty problem and is also reported in problems.
std::vector<std::vector<SemiActiveSchedule>> rebuildRecordedSchedules(
    const std::vector<RunRecord>& runs, const Instance& instance,
    std::vector<std::string>& problems);

}  // namespace jobshop
