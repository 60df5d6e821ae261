// The per-run table as comma-separated values, one row per aligned run, for spreadsheets and
// scripts.
#pragma once

#include <string>
#include <vector>

#include "report/result_records.h"

// A header row, then per run: run, best makespan, reached target (yes/no), distinct optima,
// average distance, generations with improvements, last improving generation. Values a run does
// not have (optima of a run above the target, the distance of a single optimum) are left empty.
std::string reportCsv(const std::vector<RunRecord>& runs);
