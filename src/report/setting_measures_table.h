// The campaign page's table of the measures of the runs' traces, one row per setting of an
// instance.
#pragma once

#include <string>
#include <vector>

#include "analysis/setting_summary.h"

namespace jobshop {

// Per setting, the runs with a trace (and those without) and the median and mean of each
// measure over them; recall, F1, found recall and dynamic F1 only where some setting has an exact
// count, with a sentence saying what makes one otherwise. A note instead when no run of these
// settings has a trace.
std::string settingMeasuresTable(const std::vector<const SettingSummary*>& settings);

}  // namespace jobshop
