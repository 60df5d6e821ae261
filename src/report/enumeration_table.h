// The campaign page's table of how close each setting's runs came to a complete list of the
// instance's optimal schedules, one row per setting of an instance.
#pragma once

#include <string>
#include <vector>

#include "analysis/setting_summary.h"

namespace jobshop {

// Per setting, the listed schedules (K), how many of them its runs found together, the peak ratio
// and the success rate, under a caption saying what the two mean; a dash for a setting without
// them. Nothing when no setting has them (there is no complete list of the instance's optima).
std::string enumerationTable(const std::vector<const SettingSummary*>& settings);

}  // namespace jobshop
