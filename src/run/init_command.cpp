// Argument handling and the guarded write of the init command.
#include "run/init_command.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "input/instance_reader.h"
#include "input/parameter_reader.h"
#include "input/parameter_table.h"
#include "input/parameter_template.h"
#include "results/output_clash.h"
#include "support/option_parser.h"
#include "support/text_file_output.h"

namespace jobshop {

namespace {

constexpr const char* kCommandName = "jobshop-niching init";

// The flags set to 1, crossovers before mutations, named as the file and every other place name
// them.
std::string enabledOperators(const Parameters& parameters) {
  std::string names;
  for (const ParameterKind kind : {ParameterKind::kCrossover, ParameterKind::kMutation}) {
    for (const ParameterField& field : kParameterFields) {
      if (field.kind != kind || field.valueIn(parameters) != 1) continue;
      if (!names.empty()) names += ", ";
      names += field.name;
    }
  }
  return names;
}

std::string describe(const Parameters& p) {
  return "population " + std::to_string(p.populationSize) + ", " +
         std::to_string(p.maxEvaluations) + " evaluations per run, " + std::to_string(p.runCount) +
         " runs, crossover " + std::to_string(p.crossoverPercent) + "%, mutation " +
         std::to_string(p.mutationPercent) + "%, enabled: " + enabledOperators(p) + "; " +
         std::to_string(p.mateCandidates) + " mate candidates, " +
         std::to_string(p.crowdingGroups) + " crowding groups of " +
         std::to_string(p.crowdingGroupSize);
}

// The folder's other file that path is (a link to it), or "": replacing the parameter file must not
// replace the instance, a result file or a record through it.
std::string inputAt(const std::string& folder, const std::string& path) {
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  const std::vector<std::string> others =
      filesOtherThan(folderRecordFiles(prefix), {prefix + kParametersFileName});
  return clashingFile(path, others).value_or("");
}

}  // namespace

int runInitCommand(const std::vector<std::string>& args, const std::string& folder,
                   std::ostream& out, std::ostream& err) {
  static const CommandOptions initOptions{
      .options = {helpOption(),
                  {.name = "--force", .description = "replace an existing \"D_Algoritmo.txt\""}},
      .wording = {.unknown = "unexpected argument {}"},
      .usage = kInitUsage,
      .purpose =
          "Writes a \"D_Algoritmo.txt\" with the default parameters in the current "
          "folder."};
  const ParsedOptions parsed = parseOptions(args, initOptions);
  if (!parsed.refusal.empty()) {
    err << kCommandName << ": " << parsed.refusal << "\n" << kInitUsage << "\n";
    return 2;
  }
  if (parsed.has("--help")) {
    out << commandHelp(initOptions);
    return 0;
  }
  const bool force = parsed.has("--force");

  const std::string path = (std::filesystem::path(folder) / kParametersFileName).string();
  std::error_code ignored;
  // symlink_status, so that a dangling link also counts as something not to overwrite.
  if (!force && std::filesystem::exists(std::filesystem::symlink_status(path, ignored))) {
    err << kCommandName << ": " << path << " already exists; use --force to replace it\n";
    return 1;
  }
  if (const std::string input = inputAt(folder, path); !input.empty()) {
    err << kCommandName << ": " << path << " is the same file as " << input
        << ", which the program reads\n"
        << kInitUsage << "\n";
    return 2;
  }
  const Parameters parameters = defaultParameters();
  const MaybeFailure failure = writeTextFile(path, formatParameterFile(parameters),
                                             force ? WriteMode::kReplace : WriteMode::kCreateNew);
  if (failure) {
    err << kCommandName << ": cannot write " << path << " (" << failure->reason << ")\n";
    return 1;
  }
  out << "Wrote " << path << ": " << describe(parameters) << "\n";
  return 0;
}

}  // namespace jobshop
