// Expanding the grid, reading the instances, checking every setting, and laying out the folders.
#include "campaigns/campaign_plan.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "campaigns/execution_state.h"
#include "campaigns/manifest.h"
#include "input/input_error.h"
#include "input/instance_import.h"
#include "input/instance_reader.h"
#include "input/line_reader.h"
#include "input/parameter_fields.h"
#include "input/parameter_reader.h"
#include "input/parameter_template.h"
#include "results/file_digest.h"
#include "run/text_file_output.h"

namespace fs = std::filesystem;

namespace {

// Short labels for setting names, in field order.
const char* const kFieldLabels[kParameterFieldCount] = {
    "N",   "E",    "R",     "X",    "MU",   "SCR",  "INS", "SWP", "NSW", "WRAP",
    "CYC", "FILL", "MKEEP", "MREO", "SINS", "PREC", "MC",  "CG",  "CS"};

std::string seedText(std::uint32_t seed) { return std::to_string(seed) + "\n"; }

// A "D_Entrada.txt" holds one number on its first line; the published formats hold two or more
// numbers there, or caption text.
bool looksLikeInputFile(const std::string& path) {
  const auto lines = readFileLines(path);
  if (!lines) return false;
  for (const std::string& line : *lines) {
    std::istringstream fields(line);
    std::string first, second;
    if (!(fields >> first)) continue;
    if (first[0] == '#') continue;
    return !(fields >> second) && first.find_first_not_of("+-0123456789") == std::string::npos;
  }
  return false;
}

Instance loadInstance(const CampaignFile& campaign, const CampaignInstance& entry) {
  try {
    Instance instance = looksLikeInputFile(entry.path) ? readInstance(entry.path)
                                                       : importInstanceFile(entry.path).instance;
    if (entry.target) instance.targetMakespan = *entry.target;
    return instance;
  } catch (const InputError& error) {
    const std::string reason = error.cannotOpen ? "no readable file " + entry.path : error.message;
    throw InputError{campaign.path + ":" + std::to_string(entry.line) + ": expected an instance " +
                     entry.name + " that can be read, found " + reason};
  }
}

std::vector<Parameters> expandGrid(const CampaignFile& campaign) {
  Parameters base = defaultParameters();
  std::vector<const ParameterChoice*> axes;
  for (const ParameterChoice& choice : campaign.parameters) {
    if (choice.isAxis)
      axes.push_back(&choice);
    else
      setParameterField(base, choice.field, choice.values[0]);
  }
  std::vector<Parameters> settings{base};
  for (const ParameterChoice* axis : axes) {
    std::vector<Parameters> next;
    for (const Parameters& setting : settings)
      for (int value : axis->values) {
        Parameters expanded = setting;
        setParameterField(expanded, axis->field, value);
        next.push_back(expanded);
      }
    settings = std::move(next);
  }
  return settings;
}

void checkSetting(const CampaignFile& campaign, const Parameters& parameters,
                  const std::string& name) {
  try {
    parseParameterLines(splitLines(formatParameterFile(parameters)), "D_Algoritmo.txt");
  } catch (const InputError& error) {
    int line = 1;
    for (const ParameterChoice& choice : campaign.parameters)
      if (choice.isAxis) line = choice.line;
    throw InputError{campaign.path + ":" + std::to_string(line) +
                     ": expected settings that can run, found setting " + name + ": " +
                     error.message};
  }
}

std::optional<std::string> fileText(const std::string& path) { return readFileBytes(path); }

// True when the folder holds anything beyond the inputs of a plan: the execution has started.
bool hasStarted(const std::string& folder) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name != "D_Entrada.txt" && name != "D_Algoritmo.txt" && name != "seed") return true;
  }
  return false;
}

bool sameInputs(const std::string& folder, const PlannedExecution& e) {
  return fileText(folder + "D_Entrada.txt") == e.instanceText &&
         fileText(folder + "D_Algoritmo.txt") == formatParameterFile(e.parameters) &&
         fileText(folder + "seed") == seedText(e.seed);
}

void writeOrThrow(const std::string& path, const std::string& text) {
  const std::string failure = writeTextFile(path, text, WriteMode::kReplace);
  if (!failure.empty()) throw InputError{"cannot write " + path + ": " + failure};
}

}  // namespace

std::string settingName(const Parameters& parameters, const std::vector<ParameterChoice>& axes) {
  std::string name;
  for (const ParameterChoice& axis : axes) {
    if (!axis.isAxis) continue;
    if (!name.empty()) name += '-';
    name += kFieldLabels[axis.field] + std::to_string(parameterField(parameters, axis.field));
  }
  return name.empty() ? "default" : name;
}

std::vector<PlannedExecution> planCampaign(const CampaignFile& campaign) {
  const std::vector<Parameters> settings = expandGrid(campaign);
  for (const Parameters& setting : settings)
    checkSetting(campaign, setting, settingName(setting, campaign.parameters));
  std::vector<PlannedExecution> executions;
  for (const CampaignInstance& entry : campaign.instances) {
    const Instance instance = loadInstance(campaign, entry);
    const std::string instanceText = formatInstanceFile(instance);
    for (const Parameters& setting : settings) {
      const std::string name = settingName(setting, campaign.parameters);
      for (int k = 1; k <= campaign.repetitions; ++k) {
        PlannedExecution e;
        e.instance = entry.name;
        e.setting = name;
        e.repetition = k;
        e.folder = entry.name + "/" + name + "/" + std::to_string(k);
        e.seed = static_cast<std::uint32_t>(campaign.baseSeed + k);
        e.parameters = setting;
        e.jobs = instance.jobs;
        e.machines = instance.machines;
        e.target = instance.targetMakespan;
        e.instanceText = instanceText;
        executions.push_back(std::move(e));
      }
    }
  }
  return executions;
}

LayoutSummary layOutCampaign(const CampaignFile& campaign,
                             const std::vector<PlannedExecution>& executions,
                             const std::string& folder) {
  std::vector<PlannedExecution> earlier;
  if (fs::exists(folder + kManifestFileName)) earlier = readManifest(folder);

  // Everything is checked before anything is written.
  LayoutSummary summary;
  std::vector<const PlannedExecution*> toWrite;
  for (const PlannedExecution& e : executions) {
    const std::string path = folder + e.folder + "/";
    std::error_code error;
    if (fs::exists(path, error) && hasStarted(path)) {
      if (!sameInputs(path, e))
        throw InputError{campaign.path + ": expected a plan that keeps started executions, found " +
                         e.folder +
                         " started with other inputs (plan into a new folder, or "
                         "remove that execution's folder yourself)"};
      ++summary.kept;
    } else if (fs::exists(path, error) && sameInputs(path, e)) {
      ++summary.kept;
    } else {
      toWrite.push_back(&e);
      ++summary.added;
    }
  }

  std::error_code error;
  fs::create_directories(folder, error);
  if (error) throw InputError{"cannot create " + folder + ": " + error.message()};
  const auto source = readFileBytes(campaign.path);
  writeOrThrow(folder + "campaign.toml", source.value_or(""));
  // Each instance once more at the top of its folder, where `optima --dir DIR/INSTANCE` counts
  // the schedules that exist and `collect` finds the count.
  std::set<std::string> instances;
  for (const PlannedExecution& e : executions)
    if (instances.insert(e.instance).second) {
      fs::create_directories(folder + e.instance, error);
      if (error) throw InputError{"cannot create " + folder + e.instance + ": " + error.message()};
      writeOrThrow(folder + e.instance + "/D_Entrada.txt", e.instanceText);
    }
  for (const PlannedExecution* e : toWrite) {
    const std::string path = folder + e->folder + "/";
    fs::create_directories(path, error);
    if (error) throw InputError{"cannot create " + path + ": " + error.message()};
    writeOrThrow(path + "D_Entrada.txt", e->instanceText);
    writeOrThrow(path + "D_Algoritmo.txt", formatParameterFile(e->parameters));
    writeOrThrow(path + "seed", seedText(e->seed));
  }

  std::vector<PlannedExecution> listed = executions;
  std::set<std::string> planned;
  for (const PlannedExecution& e : executions) planned.insert(e.folder);
  for (PlannedExecution& e : earlier)
    if (!planned.count(e.folder)) listed.push_back(std::move(e));
  // Written last and whole: a plan cut short leaves the earlier manifest in place.
  writeOrThrow(folder + kManifestFileName + std::string(".tmp"), formatManifest(listed));
  fs::rename(folder + kManifestFileName + std::string(".tmp"), folder + kManifestFileName, error);
  if (error)
    throw InputError{"cannot write " + folder + kManifestFileName + ": " + error.message()};
  summary.total = static_cast<int>(listed.size());
  return summary;
}
