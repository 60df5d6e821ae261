// Whole-file writes through stdio, checking the open, the write, the flush and the close: a full
// disk often shows only at the flush or the close.
#include "run/text_file_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string systemReason(int error) { return error != 0 ? std::strerror(error) : "unknown error"; }

}  // namespace

std::string writeTextFile(const std::string& path, const std::string& text, WriteMode mode) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), mode == WriteMode::kCreateNew ? "wbx" : "wb");
  if (file == nullptr) return systemReason(errno);
  errno = 0;
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  written = written && std::fflush(file) == 0;
  int writeError = errno;
  errno = 0;
  bool closed = std::fclose(file) == 0;
  if (!written) return systemReason(writeError);
  if (!closed) return systemReason(errno);
  return "";
}
