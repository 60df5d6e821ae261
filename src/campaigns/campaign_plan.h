// From a campaign file to the executions it asks for, and their folders on disk: one folder per
// (instance, setting, repetition) holding its two input files and its seed.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "campaigns/campaign_file.h"
#include "input/parameters.h"
#include "support/failure.h"

namespace jobshop {

struct PlannedExecution {
  std::string folder;  // "<instance>/<setting>/<k>", relative to the campaign folder
  std::string instance;
  std::string setting;
  int repetition = 0;  // 1-based
  std::uint32_t seed = 0;
  Parameters parameters;
  int jobs = 0;
  int machines = 0;
  int target = 0;
  std::shared_ptr<const std::string> instanceText;  // "D_Entrada.txt", shared by its executions
};

// A setting's readable name from the values of the grid axes only: the method when it is an axis,
// then the fields in file order, then the method's own settings ("clearing-N200-CR2"); a
// setting of another method is left out. "default" when the file has no axis. The same values
// give the same name whenever the file is planned again.
std::string settingName(const Parameters& parameters, const CampaignFile& campaign);

// The text of an execution's niching file: its niching options on one line; nothing for crowding.
std::optional<std::string> nichingFileText(const NichingSettings& settings);

// Every execution of the campaign: instances in file order, settings in grid order (the last
// axis varying fastest; the method's axis and its settings' axes after the fields, and a
// setting's values collapsed into one where its method is not the setting's), repetitions 1..R with
// seed base_seed + k. Reads every instance (a "D_Entrada.txt", or the standard or Taillard format;
// a regular file of at most kMaxInputFileBytes) and checks every setting as the main run would;
// throws InputError naming the file, line and setting for any that could not run.
std::vector<PlannedExecution> planCampaign(const CampaignFile& campaign);

struct LayoutSummary {
  int added = 0;
  int kept = 0;
  int total = 0;  // executions in the manifest, earlier plans included
};

// Describes the first file the plan would write over one of its inputs (the campaign file or an
// instance file, the same file by device and inode), or nothing when there is none.
MaybeFailure planOverwritesInput(const CampaignFile& campaign,
                                 const std::vector<PlannedExecution>& executions,
                                 const std::string& folder);

// Writes the campaign folder: the manifest first, a copy of the campaign file as "campaign.toml",
// each instance's "D_Entrada.txt" in its folder and every execution's folder, each file replaced
// whole. Existing executions with
// the same inputs are kept as they are, and executions of earlier plans stay listed; an execution
// whose inputs would change after it has started is refused (InputError) before anything is
// written.
LayoutSummary layOutCampaign(const CampaignFile& campaign,
                             const std::vector<PlannedExecution>& executions,
                             const std::string& folder);

}  // namespace jobshop
