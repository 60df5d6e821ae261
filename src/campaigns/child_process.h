// Starting the program itself, or another program, as a child that dies with its parent: its
// standard input from /dev/null, its output and errors in files, signals as a shell leaves them.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/failure.h"

namespace jobshop {

// Starts args[0] (a path, not looked up) with args, standard output in outPath and standard error
// in errPath (both created or emptied). The child is killed when this process dies. The child's
// pid, or why it did not start (which step failed, and the system's reason).
OrFailure<pid_t> startChild(const std::vector<std::string>& args, const std::string& outPath,
                            const std::string& errPath);

// How a child ended, from its wait status: "exit 1", "signal 9 (Killed)".
std::string endedText(int waitStatus);

}  // namespace jobshop
