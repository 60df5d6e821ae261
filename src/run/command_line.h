// The main run's command line: no arguments keeps the plain behaviour (inputs and results in the
// current folder, clock = calendar time); options make a run reproducible or move it elsewhere.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class CommandAction { run, help, version, usageError };

struct CommandLine {
  CommandAction action = CommandAction::run;
  std::optional<std::uint32_t> seed;  // --seed S: the k-th clock reading is S + k
  std::string folder;                 // --dir DIR: "" or a path ending in '/'
  bool quiet = false;                 // --quiet: no progress display
  std::string error;                  // why the arguments were refused, for usageError
};

// Parses the arguments of the main run (argv[1..]).
CommandLine parseCommandLine(const std::vector<std::string>& args);

// An unsigned 32-bit decimal: digits only, at most 4294967295.
std::optional<std::uint32_t> parseSeed(const std::string& text);

// The one-line usage of the main run, and the full help of every command.
extern const char* const kUsageLine;
std::string helpText();
