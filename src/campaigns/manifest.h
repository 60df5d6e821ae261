// The campaign's manifest: one tab-separated row per execution with every parameter and its
// niching method and settings, the list that running, status and collecting go by.
#pragma once

#include <string>
#include <vector>

#include "campaigns/campaign_plan.h"

namespace jobshop {

inline const char* const kManifestFileName = "manifest.tsv";

// The manifest text: a header line, then one row per execution in the given order.
std::string formatManifest(const std::vector<PlannedExecution>& executions);

// The executions listed in DIR's manifest (instanceText left empty); a manifest written before
// the niching columns existed reads as crowding. Throws InputError
// ("DIR/manifest.tsv:LINE: expected ..., found ...") when it is missing or malformed.
std::vector<PlannedExecution> readManifest(const std::string& campaignFolder);

// The same checks on the manifest's lines already in memory, path naming the file in refusals.
std::vector<PlannedExecution> parseManifestLines(const std::vector<std::string>& lines,
                                                 const std::string& path);

}  // namespace jobshop
