// The init command: a ready-to-edit "D_Algoritmo.txt" with the default parameters.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace jobshop {

inline constexpr const char* kInitUsage = "usage: jobshop-niching init [--force]";

// Handles `[--force]` (args without the word "init"): writes "D_Algoritmo.txt" with
// defaultParameters into folder ("" for the current folder) and describes on out what it wrote.
// An existing file is never replaced without --force. `--help` prints the usage on out. Returns 0
// when written; 1 when the file exists (without --force) or cannot be written, with one message on
// err and nothing on out; 2 for any other argument (reason and usage on err).
int runInitCommand(const std::vector<std::string>& args, const std::string& folder,
                   std::ostream& out, std::ostream& err);

}  // namespace jobshop
