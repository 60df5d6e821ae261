// The campaign command: many executions over instances and parameter settings, planned into one
// folder, run on this machine's cores or as a Slurm job array, and followed up.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace jobshop {

inline constexpr const char* kCampaignPlanUsage =
    "usage: jobshop-niching campaign plan FILE [--into DIR]";
inline constexpr const char* kCampaignRunUsage =
    "usage: jobshop-niching campaign run DIR [--jobs K]";
inline constexpr const char* kCampaignSlurmUsage =
    "usage: jobshop-niching campaign slurm DIR [--submit] [--partition P] [--time T] "
    "[--per-task N] [--max-running K]";
inline constexpr const char* kCampaignRunOneUsage =
    "usage: jobshop-niching campaign run-one DIR --task ID [--tasks FILE]";
inline constexpr const char* kCampaignStatusUsage = "usage: jobshop-niching campaign status DIR";
inline constexpr const char* kCampaignCollectUsage =
    "usage: jobshop-niching campaign collect DIR [--html FILE] [--csv FILE] [--json FILE] "
    "[--reports]";

// Every subcommand's usage line, one below the other.
std::string campaignUsage();

// Every subcommand's usage line and what it does; where to find each one's options.
std::string campaignHelp();

// Handles the words after "campaign". Returns 0 when done, 1 for a refused file, a failed
// execution or an output error, 2 for a usage error (reason and usage on err).
int runCampaignCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace jobshop
