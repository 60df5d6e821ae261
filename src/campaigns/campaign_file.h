// The campaign file: which instances, which parameter settings (a grid over list-valued fields)
// and how many seeded executions of each, read from TOML.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/niching_fields.h"
#include "input/parameter_table.h"

namespace jobshop {

// The most executions one campaign may plan: a million folders already hold gigabytes.
inline constexpr std::int64_t kMaxCampaignExecutions = 1000000;

struct CampaignInstance {
  std::string name;           // folder name under the campaign
  std::string path;           // resolved against the campaign file's folder
  std::optional<int> target;  // replaces the file's target when given
  int line = 0;               // line of its entry, for messages
};

// One field of "D_Algoritmo.txt" set by the file: a single value, or a list that is a grid axis.
struct ParameterChoice {
  int field = 0;  // index into kParameterFields
  std::vector<int> values;
  bool isAxis = false;
  int line = 0;
};

// The niching method, or one of the methods' own settings, set by the file: a single value, or a
// list that is a grid axis.
struct NichingChoice {
  std::optional<NichingSetting> setting;  // none: the method itself
  std::vector<NichingMethod> methods;     // the method's values
  std::vector<double> values;             // a setting's values
  bool isAxis = false;
  int line = 0;

  std::size_t size() const { return setting ? values.size() : methods.size(); }
};

struct CampaignFile {
  std::string path;
  std::string name;
  bool nameGiven = false;  // by a name key, rather than taken from the file's own name
  int repetitions = 1;
  std::int64_t baseSeed = 0;
  std::vector<CampaignInstance> instances;  // in file order
  std::vector<ParameterChoice> parameters;  // in the field order of "D_Algoritmo.txt"
  std::vector<NichingChoice> niching;       // the method first, then kNichingFields' order
};

// Reads and checks the campaign file at path (a regular file of at most kMaxInputFileBytes).
// Throws InputError{"FILE:LINE: expected ..., found ..."} for a syntax error, an unknown key, a
// value of the wrong type or range, a campaign or instance name that is not a plain folder name,
// a missing [instances] table, a method's setting when that method is neither the one chosen
// nor on the niching axis, and a plan of more than kMaxCampaignExecutions executions (counted
// before anything is expanded).
CampaignFile readCampaignFile(const std::string& path);

// The same reading and checks on the file's text already in memory; path names it in refusals
// and instance files are resolved against its folder.
CampaignFile parseCampaignText(std::string_view text, const std::string& path);

}  // namespace jobshop
