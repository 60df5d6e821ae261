// How many distinct optimal schedules a setting found, as the campaign's page and table say it.
#pragma once

#include <string>

#include "analysis/setting_summary.h"

namespace jobshop {

// "48", or "48 of 53" against the enumeration, "48 (53 exist)" without its list, "48 (at least 53
// exist)" when it was cut short; the schedules the enumeration lacks are named after it.
std::string distinctSchedulesText(const SettingSummary& setting);

}  // namespace jobshop
