// Opening a file to write without waiting on a named pipe that nobody reads.
#pragma once

#include <string>

namespace jobshop {

// open(path, flags, mode), except that a named pipe without a reader fails at once with ENXIO
// instead of holding the open forever; once open, the descriptor waits on its writes as usual.
// Returns the descriptor, or -1 with errno set.
int openForWriting(const std::string& path, int flags, int mode);

}  // namespace jobshop
