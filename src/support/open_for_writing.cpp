// O_NONBLOCK only for the open: a regular file ignores it, and a pipe keeps it off its writes, so
// that a reader that is slow to drain it is waited for rather than taken for a failed write.
#include "support/open_for_writing.h"

#include <fcntl.h>

#include <cerrno>

namespace jobshop {

int openForWriting(const std::string& path, int flags, int mode) {
  const int descriptor = ::open(path.c_str(), flags | O_NONBLOCK, mode);
  if (descriptor < 0 || (flags & O_NONBLOCK) != 0) return descriptor;
  const int status = ::fcntl(descriptor, F_GETFL);
  if (status >= 0) ::fcntl(descriptor, F_SETFL, status & ~O_NONBLOCK);
  return descriptor;
}

}  // namespace jobshop
