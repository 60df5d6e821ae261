// The Gantt chart of one rebuilt schedule as inline SVG: one row per machine, one colour per job,
// a titled time axis, and the job's number on every bar wide enough to hold it.
#pragma once

#include <string>
#include <vector>

#include "analysis/semi_active_schedule.h"
#include "input/instance.h"

namespace jobshop {

// An <svg class="gantt"> element whose bars have class "operation" and carry a tooltip (job,
// operation, machine, start and end). The schedule must have no problem. With more jobs than
// colours tell apart, the chart is drawn wider (class "gantt wide", in a scrolling box) so that
// every bar can carry its number. The bars of the operations that outlined sets (indexed as
// schedule.operations; none when empty) have class "operation differs", drawn with a dark outline.
std::string ganttChart(const SemiActiveSchedule& schedule, const Instance& instance,
                       const std::vector<bool>& outlined = {});

// The operations of schedule (indexed as schedule.operations) whose cell of sequences, the machine
// orders schedule was rebuilt from, is one that differing (as differingCells gives) sets.
std::vector<bool> operationsInCells(const SemiActiveSchedule& schedule,
                                    const std::vector<int>& sequences,
                                    const std::vector<bool>& differing, int jobs);

// A row of job colour swatches with their numbers, as HTML, to explain the charts' colours.
std::string jobLegend(int jobs);

}  // namespace jobshop
