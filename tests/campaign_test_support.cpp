// Campaign sources written into fresh folders, and the campaign command run on them.
#include "campaign_test_support.h"

#include <filesystem>

#include "campaigns/campaign_file.h"
#include "campaigns/campaign_plan.h"
#include "refusal_expect.h"
#include "test_instances.h"

namespace jobshop {

Captured campaign(const std::string& arguments) {
  return shell(std::string(JOBSHOP_PROGRAM) + " campaign " + arguments);
}

std::string campaignSource(const std::string& toml) {
  const std::string folder = makeTempFolder();
  std::filesystem::create_directories(folder + "instances");
  writeFile(folder + "instances/small.txt", kStandardInstance);
  writeFile(folder + "D_Entrada.txt", kInputInstance);
  writeFile(folder + "campaign.toml", toml);
  return folder;
}

namespace {

std::string fromFileName(const std::string& message) {
  const std::size_t at = message.find("campaign.toml");
  return at == std::string::npos ? message : message.substr(at);
}

}  // namespace

std::string readingRefusal(const std::string& toml) {
  const std::string file = campaignSource(toml) + "campaign.toml";
  return fromFileName(refusalOf([&] { readCampaignFile(file); }));
}

std::string planningRefusal(const std::string& toml) {
  const std::string file = campaignSource(toml) + "campaign.toml";
  return fromFileName(refusalOf([&] { planCampaign(readCampaignFile(file)); }));
}

}  // namespace jobshop
