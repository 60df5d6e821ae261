// Fuzzing campaign files: a refusal is one InputError naming the file and line, and an accepted
// campaign holds only what planning can lay out safely.
#include <cstdint>
#include <set>

#include "campaigns/campaign_file.h"
#include "fuzz_checks.h"
#include "input/input_error.h"

using namespace jobshop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = "/campaigns/fuzz.toml";
  CampaignFile campaign;
  try {
    campaign = parseCampaignText(fuzzText(data, size), path);
  } catch (const InputError& error) {
    fuzzCheck(error.message.rfind(path + ":", 0) == 0, "a refusal names the file");
    return 0;
  }
  fuzzCheck(!campaign.instances.empty(), "at least one instance");
  fuzzCheck(campaign.repetitions >= 1 && campaign.repetitions <= 1000000, "repetitions in range");
  fuzzCheck(campaign.baseSeed >= 0, "a seed that is not negative");
  std::set<std::string> names;
  for (const CampaignInstance& instance : campaign.instances) {
    fuzzCheck(!instance.name.empty() && instance.name.front() != '.' &&
                  instance.name.find('/') == std::string::npos,
              "an instance name is a plain folder name");
    fuzzCheck(names.insert(instance.name).second, "instance names are distinct");
    fuzzCheck(!instance.path.empty(), "every instance has a file");
    fuzzCheck(!instance.target || *instance.target >= 0, "a target is not negative");
  }
  int previousField = -1;
  for (const ParameterChoice& choice : campaign.parameters) {
    fuzzCheck(choice.field > previousField && choice.field < 19, "fields distinct, in order");
    fuzzCheck(!choice.values.empty(), "every field has a value");
    fuzzCheck(choice.isAxis || choice.values.size() == 1, "a single value is not an axis");
    previousField = choice.field;
  }
  return 0;
}
