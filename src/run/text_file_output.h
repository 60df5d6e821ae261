// Writing a whole text file for the import and init commands, with every failure reported so that
// a command never claims a file it did not write.
#pragma once

#include <string>

enum class WriteMode {
  kCreateNew,  // fail if the path already exists (checked by the system when opening)
  kReplace,    // create or truncate
};

// Writes text to path. Returns "" once every byte is written, flushed and the file closed;
// otherwise the system's reason (for example "File exists" in kCreateNew mode, "No space left on
// device"). A file that failed part way may be left partly written.
std::string writeTextFile(const std::string& path, const std::string& text, WriteMode mode);
