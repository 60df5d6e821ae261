// Appending to the result files with failure tracking.
#include "results/result_files.h"

#include <cstdarg>

bool openForAppend(ResultFile& file, const std::string& path) {
  file.path = path;
  file.writeFailed = false;
  file.handle = std::fopen(path.c_str(), "a");
  return file.handle != nullptr;
}

void writeFormatted(ResultFile& file, const char* format, ...) {
  if (file.handle == nullptr) return;
  va_list arguments;
  va_start(arguments, format);
  if (std::vfprintf(file.handle, format, arguments) < 0) file.writeFailed = true;
  va_end(arguments);
}

void writeText(ResultFile& file, const std::string& text) {
  if (file.handle == nullptr) return;
  if (std::fwrite(text.data(), 1, text.size(), file.handle) != text.size()) file.writeFailed = true;
}

bool closeFile(ResultFile& file) {
  if (file.handle == nullptr) return !file.writeFailed;
  // A full disk often shows only when the buffer is flushed at the close.
  const bool flushed = std::fflush(file.handle) == 0 && !std::ferror(file.handle);
  const bool closed = std::fclose(file.handle) == 0;
  file.handle = nullptr;
  if (!flushed || !closed) file.writeFailed = true;
  return !file.writeFailed;
}
