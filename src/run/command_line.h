// The main run's command line: no arguments reads and writes the current folder and seeds from the
// calendar once; options repeat an execution, move it elsewhere or choose the literal clock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input/niching_settings.h"

namespace jobshop {

enum class CommandAction { run, help, version, usageError };

// How the k-th clock reading of an execution with seed S is made: a hash of (S, k) (the default),
// S + k (executions made before the hashed clock), or the calendar time itself.
enum class ClockScheme { hashed, linear, wall };

// "hashed", "linear" or "wall", as the option takes it and the execution record writes it.
const char* clockSchemeName(ClockScheme scheme);

struct CommandLine {
  CommandAction action = CommandAction::run;
  std::optional<std::uint32_t> seed;        // --seed S; otherwise drawn from the entropy source
  ClockScheme clock = ClockScheme::hashed;  // --clock NAME; --wall-clock is --clock wall
  bool record = true;       // --no-record turns the execution record off; --record changes nothing
  std::string folder;       // --dir DIR: "" or a path ending in '/'
  bool quiet = false;       // --quiet (-q): no progress display
  NichingSettings niching;  // --niching NAME and the method's own settings
  std::string error;        // why the arguments were refused, for usageError
};

// Parses the arguments of the main run (argv[1..]).
CommandLine parseCommandLine(const std::vector<std::string>& args);

// An unsigned 32-bit decimal: digits only, at most 4294967295.
std::optional<std::uint32_t> parseSeed(const std::string& text);

// The one-line usage of the main run, and the full help of every command.
extern const char* const kUsageLine;
std::string helpText();

}  // namespace jobshop
