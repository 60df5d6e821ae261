// The import command: a published job-shop instance (standard or Taillard format) converted into
// the program's "D_Entrada.txt", or a "D_Entrada.txt" copied through the same checks.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace jobshop {

inline constexpr const char* kImportUsage =
    "usage: jobshop-niching import [--target T|ub] [--output PATH] FILE";

// Handles `[--target T|ub] [--output PATH] FILE` (args without the word "import"). Writes the
// "D_Entrada.txt" text to out, or to PATH with one confirmation line on out. The target is T (a
// whole number from 0), with `ub` the upper bound of FILE's Taillard header, or else a
// "D_Entrada.txt"'s own target or the instance's classic lower bound, with a note on err when the
// header gives an upper bound; a target below the lower bound draws a warning on err. A
// "D_Entrada.txt" is refused, and warned about, in the main run's words. `--help` prints the usage
// on out. Returns 0 when done; 1 when FILE is malformed or cannot be read, `ub` is asked of a file
// without an upper bound, or the output cannot be written (one message on err, nothing written or
// claimed on out); 2 for unknown options, a missing or invalid value, or not exactly one FILE
// (reason and usage on err). Arguments and text of FILE are shown in messages with control bytes
// escaped.
int runImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace jobshop
