// The whole program behind main: the commands, the main run and the mapping of every outcome to
// an exit status (0 done, 1 input or output error, 2 usage error).
#pragma once

#include <string>
#include <vector>

namespace jobshop {

// Runs the program with argv[1..]; returns the exit status.
int runProgram(const std::vector<std::string>& args);

}  // namespace jobshop
