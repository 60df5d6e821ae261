// Argument handling, conversion and output of the import command.
#include "run/import_command.h"

#include <charconv>
#include <filesystem>
#include <limits>
#include <optional>

#include "input/input_error.h"
#include "input/instance_import.h"
#include "input/instance_reader.h"
#include "input/instance_text.h"
#include "input/lower_bound.h"
#include "results/output_clash.h"
#include "support/option_parser.h"
#include "support/printable_text.h"
#include "support/text_file_output.h"

namespace jobshop {

namespace {

constexpr const char* kCommandName = "jobshop-niching import";

enum class TargetChoice { kLowerBound, kGiven, kUpperBound };

struct ImportOptions {
  TargetChoice targetChoice = TargetChoice::kLowerBound;
  int target = 0;  // with kGiven
  std::optional<std::string> output;
  std::vector<std::string> files;
  bool help = false;
  std::string error;  // set when the arguments are refused
};

// Digits only, 0 up to INT_MAX.
std::optional<int> parseTarget(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [stop, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || text.front() == '-' || ec != std::errc() || stop != end) return std::nullopt;
  return value;
}

const CommandOptions& importOptions() {
  static const CommandOptions options{
      .options =
          {helpOption(),
           {.name = "--target",
            .takesValue = true,
            .valueName = "T|ub",
            .description =
                "the target makespan: T, or ub for the upper bound of a "
                "Taillard header (default: a D_Entrada.txt's own target, else the lower bound)"},
           {.name = "--output",
            .takesValue = true,
            .valueName = "PATH",
            .description = "write the text to PATH instead of standard output"}},
      .maxOperands = std::numeric_limits<std::size_t>::max(),
      .usage = kImportUsage,
      .purpose = "Converts an instance into \"D_Entrada.txt\" text.",
      .operandHelp = {{"FILE",
                       "the instance, in the standard or the Taillard format, or a D_Entrada.txt"}},
  };
  return options;
}

// Nothing, or why the value of --target is refused.
MaybeFailure takeTarget(ImportOptions& options, const std::string& value) {
  if (value == "ub") {
    options.targetChoice = TargetChoice::kUpperBound;
  } else if (std::optional<int> target = parseTarget(value)) {
    options.targetChoice = TargetChoice::kGiven;
    options.target = *target;
  } else {
    return Failure{"--target needs a whole number from 0 to 2147483647 or \"ub\", found \"" +
                   printableText(value) + "\""};
  }
  return std::nullopt;
}

// Nothing, or why output must not be written: it is the file being imported, or one of the other
// files of its own folder (the parameters, a result file, a record), which an instance written
// there would replace.
MaybeFailure outputClash(const std::string& output, const std::string& imported) {
  if (sameExistingFile(output, imported)) {
    return Failure{"--output " + printableText(output) + " is the instance file being imported"};
  }
  const std::string folder = std::filesystem::path(output).parent_path().string();
  const std::string prefix = folder.empty() ? folder : folder + "/";
  const std::vector<std::string> others =
      filesOtherThan(folderRecordFiles(prefix), {prefix + kInstanceFileName});
  if (const std::optional<std::string> record = clashingFile(output, others))
    return Failure{"--output " + printableText(clashReason(output, *record))};
  return std::nullopt;
}

ImportOptions parseImportOptions(const std::vector<std::string>& args) {
  const ParsedOptions parsed = parseOptions(args, importOptions());
  ImportOptions options;
  options.files = parsed.operands;
  options.help = parsed.has("--help");
  options.output = parsed.value("--output");
  // The options before a refused argument are taken first, so that the first fault is the one told.
  if (const std::optional<std::string> target = parsed.value("--target"))
    if (const MaybeFailure why = takeTarget(options, *target)) options.error = why->reason;
  if (options.error.empty()) options.error = parsed.refusal;
  if (options.error.empty() && !options.help && options.files.size() != 1) {
    options.error = "expected one instance file, found " + std::to_string(options.files.size());
  }
  if (options.error.empty() && !options.help && options.output) {
    if (const MaybeFailure clash = outputClash(*options.output, options.files.front()))
      options.error = clash->reason;
  }
  return options;
}

// How the confirmation line names where the target came from; a given one needs no name.
const char* targetOrigin(TargetChoice choice, bool ownTarget) {
  switch (choice) {
    case TargetChoice::kLowerBound:
      return ownTarget ? " (the file's own)" : " (the lower bound)";
    case TargetChoice::kUpperBound:
      return " (the header's upper bound)";
    case TargetChoice::kGiven:
      break;
  }
  return "";
}

// Sets the target the options chose, saying what the user may not expect; false when the choice
// cannot be met.
bool chooseTarget(const ImportOptions& options, ImportedInstance& imported, std::ostream& err) {
  Instance& instance = imported.instance;
  const int lowerBound = classicLowerBound(instance);
  if (options.targetChoice == TargetChoice::kUpperBound) {
    if (!imported.upperBound) {
      err << kCommandName << ": " << printableText(options.files.front())
          << " has no upper bound for --target ub (the fifth number of a Taillard header: J, M, "
             "time seed, machine seed, upper bound)\n";
      return false;
    }
    instance.targetMakespan = *imported.upperBound;
  } else if (options.targetChoice == TargetChoice::kGiven) {
    instance.targetMakespan = options.target;
  } else if (imported.upperBound) {
    err << kCommandName << ": note: the header's upper bound is " << *imported.upperBound
        << "; the target is the lower bound " << lowerBound
        << " (use --target ub for the upper bound)\n";
  }
  if (instance.targetMakespan < lowerBound) {
    err << kCommandName << ": warning: target " << instance.targetMakespan
        << " is below the lower bound " << lowerBound
        << ", so no run can reach it and no optimum will be analysed\n";
  }
  return true;
}

int writeInstance(const ImportOptions& options, const ImportedInstance& imported, std::ostream& out,
                  std::ostream& err) {
  const Instance& instance = imported.instance;
  const std::string text = formatInstanceFile(instance);
  if (!options.output) {
    out << text;
    out.flush();
    if (!out) {
      err << kCommandName << ": cannot write to standard output\n";
      return 1;
    }
    return 0;
  }
  const MaybeFailure failure = writeTextFile(*options.output, text, WriteMode::kReplace);
  if (failure) {
    err << kCommandName << ": cannot write " << printableText(*options.output) << " ("
        << failure->reason << ")\n";
    return 1;
  }
  out << "Wrote " << printableText(*options.output) << ": " << instance.jobs << " jobs, "
      << instance.machines << " machines, target " << instance.targetMakespan
      << targetOrigin(options.targetChoice, imported.ownTarget) << "\n";
  return 0;
}

}  // namespace

int runImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const ImportOptions options = parseImportOptions(args);
  if (!options.error.empty()) {
    err << kCommandName << ": " << options.error << "\n" << kImportUsage << "\n";
    return 2;
  }
  if (options.help) {
    out << commandHelp(importOptions());
    return 0;
  }
  ImportedInstance imported;
  std::vector<std::string> warnings;
  try {
    imported = importInstanceFile(options.files.front(), &warnings);
  } catch (const InputError& error) {
    err << error.message << "\n";
    return 1;
  }
  // A "D_Entrada.txt" warns in the main run's words, since the main run would read it the same.
  for (const std::string& warning : warnings) err << warning << "\n";
  if (!chooseTarget(options, imported, err)) return 1;
  return writeInstance(options, imported, out, err);
}

}  // namespace jobshop
