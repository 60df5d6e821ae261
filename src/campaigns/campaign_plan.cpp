// Expanding the grid, reading the instances, checking every setting, and laying out the folders.
#include "campaigns/campaign_plan.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "campaigns/execution_state.h"
#include "campaigns/manifest.h"
#include "campaigns/output_check.h"
#include "campaigns/required_write.h"
#include "input/input_error.h"
#include "input/instance_import.h"
#include "input/instance_reader.h"
#include "input/instance_text.h"
#include "input/line_reader.h"
#include "input/niching_fields.h"
#include "input/parameter_reader.h"
#include "input/parameter_table.h"
#include "input/parameter_template.h"
#include "input/refusal.h"
#include "model/run_demand.h"
#include "results/file_digest.h"
#include "results/output_clash.h"
#include "support/bounded_file.h"
#include "support/memory_limits.h"
#include "support/text_file_output.h"
#include "support/text_files.h"

namespace jobshop {

namespace fs = std::filesystem;

namespace {

std::string seedText(std::uint32_t seed) { return std::to_string(seed) + "\n"; }

// A "D_Entrada.txt" holds one number on its first line; the published formats hold two or more
// numbers there, or caption text.
bool looksLikeInputFile(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    std::istringstream fields(line);
    std::string first;
    std::string second;
    if (!(fields >> first)) continue;
    if (first[0] == '#') continue;
    return !(fields >> second) && first.find_first_not_of("+-0123456789") == std::string::npos;
  }
  return false;
}

Instance loadInstance(const CampaignFile& campaign, const CampaignInstance& entry) {
  const auto refuse = [&](const std::string& reason) {
    return InputError{campaign.path + ":" + std::to_string(entry.line) + ": expected an instance " +
                      entry.name + " that can be read, found " + reason};
  };
  const BoundedRead read = readBoundedFile(entry.path, kMaxInputFileBytes);
  if (read.failure == BoundedReadFailure::kUnreadable)
    throw refuse("no readable file " + entry.path);
  if (!read.text) throw refuse(entry.path + ", " + read.problem);
  try {
    std::vector<std::string> lines = splitLines(*read.text);
    Instance instance = looksLikeInputFile(lines)
                            ? parseInstanceLines(std::move(lines), fileNameOf(entry.path))
                            : parseInstanceText(*read.text, entry.path).instance;
    if (entry.target) instance.targetMakespan = *entry.target;
    return instance;
  } catch (const InputError& error) {
    throw refuse(error.message);
  }
}

void setChoice(Parameters& parameters, const ParameterChoice& choice, std::size_t value) {
  kParameterFields[static_cast<std::size_t>(choice.field)].setIn(parameters, choice.values[value]);
}

void setChoice(Parameters& parameters, const NichingChoice& choice, std::size_t value) {
  if (choice.setting)
    setValue(parameters.niching, *choice.setting, choice.values[value]);
  else
    parameters.niching.method = choice.methods[value];
}

std::size_t valueCount(const ParameterChoice& choice) { return choice.values.size(); }
std::size_t valueCount(const NichingChoice& choice) { return choice.size(); }

// Every setting crossed with every value of the axis, the axis varying fastest.
template <class Choice>
std::vector<Parameters> crossed(const std::vector<Parameters>& settings, const Choice& axis) {
  std::vector<Parameters> next;
  for (const Parameters& setting : settings)
    for (std::size_t value = 0; value < valueCount(axis); ++value) {
      Parameters expanded = setting;
      setChoice(expanded, axis, value);
      next.push_back(expanded);
    }
  return next;
}

template <class Choice>
void setFixed(Parameters& base, const std::vector<Choice>& choices) {
  for (const Choice& choice : choices)
    if (!choice.isAxis) setChoice(base, choice, 0);
}

template <class Choice>
void crossAxes(std::vector<Parameters>& settings, const std::vector<Choice>& choices) {
  for (const Choice& choice : choices)
    if (choice.isAxis) settings = crossed(settings, choice);
}

bool sameSetting(const Parameters& a, const Parameters& b) {
  for (const ParameterField& field : kParameterFields)
    if (field.valueIn(a) != field.valueIn(b)) return false;
  return sameNiching(a.niching, b.niching);
}

// A method's values mean nothing to the settings of other methods: those collapse into the first.
std::vector<Parameters> collapsed(const std::vector<Parameters>& settings) {
  std::vector<Parameters> kept;
  for (Parameters setting : settings) {
    setting.niching = ownSettingsOnly(setting.niching);
    const auto same = [&setting](const Parameters& earlier) {
      return sameSetting(setting, earlier);
    };
    if (std::none_of(kept.begin(), kept.end(), same)) kept.push_back(setting);
  }
  return kept;
}

std::vector<Parameters> expandGrid(const CampaignFile& campaign) {
  Parameters base = defaultParameters();
  setFixed(base, campaign.parameters);
  setFixed(base, campaign.niching);
  std::vector<Parameters> settings{base};
  crossAxes(settings, campaign.parameters);
  crossAxes(settings, campaign.niching);
  return collapsed(settings);
}

int lastAxisLine(const CampaignFile& campaign) {
  int line = 1;
  for (const ParameterChoice& choice : campaign.parameters)
    if (choice.isAxis) line = std::max(line, choice.line);
  for (const NichingChoice& choice : campaign.niching)
    if (choice.isAxis) line = std::max(line, choice.line);
  return line;
}

void checkSetting(const CampaignFile& campaign, const Parameters& parameters,
                  const std::string& name) {
  const auto refuse = [&](const std::string& why) {
    return InputError{campaign.path + ":" + std::to_string(lastAxisLine(campaign)) +
                      ": expected settings that can run, found setting " + name + ": " + why};
  };
  try {
    parseParameterLines(splitLines(formatParameterFile(parameters)), kParametersFileName);
  } catch (const InputError& error) {
    throw refuse(error.message);
  }
  if (!windowFitsPopulation(parameters.niching, parameters.populationSize))
    throw refuse("windowSize " + std::to_string(*parameters.niching.windowSize) +
                 " is larger than the population (populationSize " +
                 std::to_string(parameters.populationSize) + ")");
}

std::string demandText(const RunDemandExcess& excess, const Parameters& parameters) {
  const auto mebibytes = [](double bytes) {
    return std::to_string(static_cast<long long>(bytes / 1048576));
  };
  if (excess.kind == RunDemandExcess::Kind::kMemory)
    return "populations of " + std::to_string(parameters.populationSize) + " need " +
           mebibytes(excess.needed) + " MiB, more than the " + mebibytes(excess.available) +
           " MiB this machine lets a process use";
  char comparisons[32];
  std::snprintf(comparisons, sizeof comparisons, "%.1e", excess.needed);
  return "mateCandidates " + std::to_string(parameters.mateCandidates) + " makes at least " +
         comparisons + " gene comparisons in each run's mate selection, more than a day of work";
}

// Checked on this machine: an execution that cannot run here is refused before any folder is made.
void checkDemand(const CampaignFile& campaign, const CampaignInstance& entry,
                 const Instance& instance, const Parameters& parameters,
                 std::optional<std::int64_t> usableBytes) {
  const std::optional<RunDemandExcess> excess = runDemandExcess(instance, parameters, usableBytes);
  if (!excess) return;
  throw InputError{campaign.path + ":" + std::to_string(entry.line) +
                   ": expected settings that can run, found setting " +
                   settingName(parameters, campaign) + " on instance " + entry.name + ": " +
                   demandText(*excess, parameters)};
}

// The inputs an execution folder was given: each as large as a user's input may be.
std::optional<std::string> fileText(const std::string& path) {
  return readWholeFile(path, kMaxInputFileBytes);
}

// True when the folder holds anything beyond the inputs of a plan: the execution has started.
bool hasStarted(const std::string& folder) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name != kInstanceFileName && name != kParametersFileName && name != "seed" &&
        name != kNichingFileName)
      return true;
  }
  return false;
}

bool sameInputs(const std::string& folder, const PlannedExecution& e) {
  return fileText(folder + kInstanceFileName) == *e.instanceText &&
         fileText(folder + kParametersFileName) == formatParameterFile(e.parameters) &&
         fileText(folder + "seed") == seedText(e.seed) &&
         fileText(folder + kNichingFileName) == nichingFileText(e.parameters.niching);
}

}  // namespace

std::string settingName(const Parameters& parameters, const CampaignFile& campaign) {
  std::vector<std::string> parts;
  const NichingSettings& niching = parameters.niching;
  for (const NichingChoice& axis : campaign.niching)
    if (axis.isAxis && !axis.setting) parts.emplace_back(nichingMethodName(niching.method));
  for (const ParameterChoice& axis : campaign.parameters) {
    if (!axis.isAxis) continue;
    const ParameterField& field = kParameterFields[static_cast<std::size_t>(axis.field)];
    parts.push_back(field.label + std::to_string(field.valueIn(parameters)));
  }
  for (const NichingChoice& axis : campaign.niching) {
    if (!axis.isAxis || !axis.setting) continue;
    const NichingField& field = nichingField(*axis.setting);
    const std::optional<double> value = givenValue(niching, field.setting);
    if (field.method == niching.method && value)
      parts.push_back(field.label + nichingValueText(*value));
  }
  std::string name;
  for (const std::string& part : parts) name += (name.empty() ? "" : "-") + part;
  return name.empty() ? "default" : name;
}

std::optional<std::string> nichingFileText(const NichingSettings& settings) {
  const std::vector<std::string> args = nichingArguments(settings);
  if (args.empty()) return std::nullopt;
  std::string text;
  for (const std::string& arg : args) text += (text.empty() ? "" : " ") + arg;
  return text + "\n";
}

std::vector<PlannedExecution> planCampaign(const CampaignFile& campaign) {
  const std::vector<Parameters> settings = expandGrid(campaign);
  for (const Parameters& setting : settings)
    checkSetting(campaign, setting, settingName(setting, campaign));
  const std::optional<std::int64_t> usable = usableMemory(currentMemoryLimits());
  std::vector<PlannedExecution> executions;
  for (const CampaignInstance& entry : campaign.instances) {
    const Instance instance = loadInstance(campaign, entry);
    for (const Parameters& setting : settings)
      checkDemand(campaign, entry, instance, setting, usable);
    const auto instanceText = std::make_shared<const std::string>(formatInstanceFile(instance));
    for (const Parameters& setting : settings) {
      const std::string name = settingName(setting, campaign);
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

namespace {

void createFolder(const std::string& path) {
  std::error_code error;
  fs::create_directories(path, error);
  if (error) throw InputError{"cannot create " + path + ": " + error.message()};
}

// The executions whose folders must be written; the others are counted as kept. Everything is
// checked before anything is written.
std::vector<const PlannedExecution*> executionsToWrite(
    const CampaignFile& campaign, const std::vector<PlannedExecution>& executions,
    const std::string& folder, LayoutSummary& summary) {
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
  return toWrite;
}

// This plan's executions, then those of earlier plans into the folder that this one lacks.
std::vector<PlannedExecution> listedExecutions(const std::vector<PlannedExecution>& executions,
                                               const std::string& folder) {
  std::vector<PlannedExecution> listed = executions;
  if (!fs::exists(folder + kManifestFileName)) return listed;
  std::set<std::string> planned;
  for (const PlannedExecution& e : executions) planned.insert(e.folder);
  for (PlannedExecution& e : readManifest(folder))
    if (!planned.contains(e.folder)) listed.push_back(std::move(e));
  return listed;
}

// Each instance once more at the top of its folder, where `optima --dir DIR/INSTANCE` counts the
// schedules that exist and `collect` finds the count.
void writeInstanceFolders(const std::vector<PlannedExecution>& executions,
                          const std::string& folder) {
  std::set<std::string> instances;
  for (const PlannedExecution& e : executions)
    if (instances.insert(e.instance).second) {
      createFolder(folder + e.instance);
      writeFileOrThrow(folder + e.instance + "/" + kInstanceFileName, *e.instanceText);
    }
}

void writeExecutionFolder(const PlannedExecution& e, const std::string& folder) {
  const std::string path = folder + e.folder + "/";
  createFolder(path);
  writeFileOrThrow(path + kInstanceFileName, *e.instanceText);
  writeFileOrThrow(path + kParametersFileName, formatParameterFile(e.parameters));
  writeFileOrThrow(path + "seed", seedText(e.seed));
  if (const std::optional<std::string> niching = nichingFileText(e.parameters.niching)) {
    writeFileOrThrow(path + kNichingFileName, *niching);
  } else {
    // A crowding execution replanned from another method: its old options must not stay behind.
    std::error_code error;
    fs::remove(path + kNichingFileName, error);
    if (error)
      throw InputError{"cannot remove " + path + kNichingFileName + ": " + error.message()};
  }
}

// The records of the folder output is planned into, but for the inputs the plan writes there: an
// execution's seed or niching file must not take the place of its results.
std::vector<std::string> recordsBeside(const std::string& output) {
  const std::string folder = output.substr(0, output.rfind('/') + 1);
  return filesOtherThan(folderRecordFiles(folder),
                        {folder + kInstanceFileName, folder + kParametersFileName});
}

}  // namespace

LayoutSummary layOutCampaign(const CampaignFile& campaign,
                             const std::vector<PlannedExecution>& executions,
                             const std::string& folder) {
  const std::vector<PlannedExecution> listed = listedExecutions(executions, folder);
  LayoutSummary summary;
  const std::vector<const PlannedExecution*> toWrite =
      executionsToWrite(campaign, executions, folder, summary);
  createFolder(folder);
  // Written first and whole: every folder below is listed before it exists, so a plan cut short
  // leaves nothing the manifest does not know, and planning again completes it.
  writeFileOrThrow(folder + kManifestFileName, formatManifest(listed));
  // Planned from the folder's own copy, the copy is already in place.
  if (!sameFileOrPlace(campaign.path, folder + "campaign.toml"))
    writeFileOrThrow(folder + "campaign.toml",
                     readWholeFile(campaign.path, kMaxInputFileBytes).value_or(""));
  writeInstanceFolders(executions, folder);
  for (const PlannedExecution* e : toWrite) writeExecutionFolder(*e, folder);
  summary.total = static_cast<int>(listed.size());
  return summary;
}

MaybeFailure planOverwritesInput(const CampaignFile& campaign,
                                 const std::vector<PlannedExecution>& executions,
                                 const std::string& folder) {
  std::vector<std::string> inputs{campaign.path};
  for (const CampaignInstance& instance : campaign.instances) inputs.push_back(instance.path);
  std::vector<std::string> outputs{folder + kManifestFileName};
  if (!sameFileOrPlace(campaign.path, folder + "campaign.toml"))
    outputs.push_back(folder + "campaign.toml");
  std::set<std::string> instances;
  for (const PlannedExecution& e : executions) {
    if (instances.insert(e.instance).second)
      outputs.push_back(folder + e.instance + "/" + kInstanceFileName);
    for (const char* name : {kInstanceFileName, kParametersFileName, "seed", kNichingFileName})
      outputs.push_back(folder + e.folder + "/" + name);
  }
  for (const std::string& output : outputs) {
    if (const std::optional<std::string> input = clashingFile(output, inputs))
      return Failure{output + " is the input " + *input};
    if (const std::optional<std::string> record = clashingFile(output, recordsBeside(output)))
      return Failure{clashReason(output, *record)};
  }
  return std::nullopt;
}

}  // namespace jobshop
