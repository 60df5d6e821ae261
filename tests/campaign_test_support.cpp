// Campaign sources written into fresh folders, and the campaign command run on them.
#include "campaign_test_support.h"

#include <filesystem>

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

}  // namespace jobshop
