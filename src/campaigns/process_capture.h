// Running an outside command (sbatch, squeue) and taking its standard output.
#pragma once

#include <string>
#include <vector>

namespace jobshop {

struct CapturedOutput {
  bool started = false;  // false when the command could not be found or started
  int status = -1;       // exit status, -1 when it did not exit normally
  std::string out;
};

// Runs argv[0] (looked up in PATH) with argv, without a shell; standard error passes through.
CapturedOutput captureCommand(const std::vector<std::string>& argv);

// True when name is an executable found in PATH.
bool commandExists(const std::string& name);

}  // namespace jobshop
