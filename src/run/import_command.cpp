// Argument handling, conversion and output of the import command.
#include "run/import_command.h"

#include <charconv>
#include <optional>

#include "input/input_error.h"
#include "input/instance_import.h"
#include "run/text_file_output.h"

namespace {

constexpr const char* kCommandName = "jobshop-niching import";

struct ImportOptions {
  std::optional<int> target;
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

ImportOptions parseImportOptions(const std::vector<std::string>& args) {
  ImportOptions options;
  bool onlyFiles = false;
  for (size_t i = 0; i < args.size() && options.error.empty(); ++i) {
    const std::string& arg = args[i];
    bool isOption = !onlyFiles && arg.size() > 1 && arg.front() == '-';
    if (!isOption) {
      options.files.push_back(arg);
    } else if (arg == "--") {
      onlyFiles = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--target" || arg == "--output") {
      if (i + 1 == args.size()) {
        options.error = arg + " needs a value";
      } else if ((arg == "--target" && options.target) || (arg == "--output" && options.output)) {
        options.error = arg + " is given more than once";
      } else if (arg == "--output") {
        options.output = args[++i];
      } else if (std::optional<int> target = parseTarget(args[++i])) {
        options.target = target;
      } else {
        options.error =
            "--target needs a whole number from 0 to 2147483647, found \"" + args[i] + "\"";
      }
    } else {
      options.error = "unknown option " + arg;
    }
  }
  if (options.error.empty() && !options.help && options.files.size() != 1) {
    options.error = "expected one instance file, found " + std::to_string(options.files.size());
  }
  return options;
}

}  // namespace

int runImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ImportOptions options = parseImportOptions(args);
  if (!options.error.empty()) {
    err << kCommandName << ": " << options.error << "\n" << kImportUsage << "\n";
    return 2;
  }
  if (options.help) {
    out << kImportUsage << "\n";
    return 0;
  }

  Instance instance;
  try {
    instance = importInstanceFile(options.files.front());
  } catch (const InputError& error) {
    err << error.message << "\n";
    return 1;
  }
  const int lowerBound = instance.targetMakespan;
  if (options.target) {
    instance.targetMakespan = *options.target;
    if (*options.target < lowerBound) {
      err << kCommandName << ": warning: target " << *options.target << " is below the lower bound "
          << lowerBound << ", so no run can reach it and no optimum will be analysed\n";
    }
  }
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
  const std::string failure = writeTextFile(*options.output, text, WriteMode::kReplace);
  if (!failure.empty()) {
    err << kCommandName << ": cannot write " << *options.output << " (" << failure << ")\n";
    return 1;
  }
  out << "Wrote " << *options.output << ": " << instance.jobs << " jobs, " << instance.machines
      << " machines, target " << instance.targetMakespan
      << (options.target ? "" : " (the lower bound)") << "\n";
  return 0;
}
