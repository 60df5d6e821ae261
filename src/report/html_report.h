// The whole report as one self-contained page: inline CSS and SVG, no script and no link to
// anything outside, written so that it also parses as XML.
#pragma once

#include <string>
#include <vector>

#include "input/instance.h"
#include "report/result_records.h"
#include "report/semi_active_schedule.h"

// How many optima of a run are drawn as Gantt charts; the others are listed.
inline constexpr int kGanttChartsPerRun = 3;

// The page for the runs of folder (shown in the heading): problems first when there are any, then
// the summary, the runs table, the convergence plot, the histogram, and for each run that reached
// the target its optima (schedules[r] rebuilt from runs[r].solutions) with their distances.
std::string htmlReport(const std::string& folder, const Instance& instance,
                       const ResultRecords& records,
                       const std::vector<std::vector<SemiActiveSchedule>>& schedules);
