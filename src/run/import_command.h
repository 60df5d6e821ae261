// The import command: a published job-shop instance (standard or Taillard format) converted into
// the program's "D_Entrada.txt".
#pragma once

#include <ostream>
#include <string>
#include <vector>

inline constexpr const char* kImportUsage =
    "usage: jobshop-niching import [--target T] [--output PATH] FILE";

// Handles `[--target T] [--output PATH] FILE` (args without the word "import"). Writes the
// "D_Entrada.txt" text to out, or to PATH with one confirmation line on out. The target is T (a
// whole number from 0) or else the instance's classic lower bound; a T below that bound draws a
// warning on err. `--help` prints the usage on out. Returns 0 when done; 1 when FILE is malformed
// or cannot be read, or the output cannot be written (one message on err, nothing claimed on out);
// 2 for unknown options, a missing or invalid value, or not exactly one FILE (reason and usage on
// err).
int runImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
