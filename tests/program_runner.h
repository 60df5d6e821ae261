// Running the built program (or any shell command) from a test and capturing what it printed,
// the one way every test does it.
#pragma once

#include <sstream>
#include <string>

namespace jobshop {

struct Captured {
  int status = -1;  // exit status, -1 when ended by a signal
  std::string out;
  std::string err;
};

// Runs command in sh with its standard output and error captured.
Captured shell(const std::string& command);

// The same with the size of every file the command writes limited to bytes (RLIMIT_FSIZE, set in
// the child only), its output taken through pipes, which the limit does not reach.
Captured shellWithFileSizeLimit(const std::string& command, long bytes);

// `jobshop-niching ARGUMENTS` (shell text) run inside folder; launcher goes before the program (a
// faketime call, say).
Captured runProgramIn(const std::string& folder, const std::string& arguments,
                      const std::string& launcher = "");

// A command run in this process: command(out, err) returns its exit status.
template <class Command>
Captured captureCommand(Command&& command) {
  std::ostringstream out, err;
  const int status = command(out, err);
  return {status, out.str(), err.str()};
}

}  // namespace jobshop
