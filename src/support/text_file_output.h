// Writing a whole text file for the commands that write one (import, init, optima, report and the
// campaign files), with every failure reported so that a command never claims a file it did not
// write, and never leaves a file half written: the text goes to a temporary file beside the
// target, which then takes the target's place in one step.
#pragma once

#include <fstream>
#include <string>

#include "support/failure.h"

namespace jobshop {

enum class WriteMode {
  kCreateNew,  // fail if the path already exists (checked by the system when putting it in place)
  kReplace,    // create, or replace what is there
};

// Writes text to path. Returns nothing once every byte is written, synced and the file in place;
// otherwise the system's reason (for example "File exists" in kCreateNew mode, "No space left on
// device"). On failure the path keeps what it held before (or stays absent) and no temporary file
// is left behind. A path that is a symbolic link has the file it points to replaced.
MaybeFailure writeTextFile(const std::string& path, const std::string& text, WriteMode mode);

// The same for text too long to hold in memory: stream() takes the text while it is produced, and
// finish() puts the file in place as writeTextFile does. A file dropped before finish() (an error
// on the way, an exception) leaves the path as it was.
class StreamedTextFile {
 public:
  StreamedTextFile(const std::string& path, WriteMode mode);
  ~StreamedTextFile();
  StreamedTextFile(const StreamedTextFile&) = delete;
  StreamedTextFile& operator=(const StreamedTextFile&) = delete;

  // Nothing when the temporary file is open, the system's reason otherwise.
  const MaybeFailure& failure() const { return failure_; }
  std::ostream& stream() { return stream_; }
  // Nothing once the file is in place, the system's reason otherwise.
  MaybeFailure finish();

 private:
  std::string target_;
  std::string temporary_;
  WriteMode mode_;
  std::ofstream stream_;
  MaybeFailure failure_;
};

// Whether two paths name the same existing file (same device and inode). False when either does
// not exist, so that an output that is not there yet never counts as one of the inputs.
bool sameExistingFile(const std::string& a, const std::string& b);

// Whether two paths would name one file: the same existing file, or the same place once links and
// dots are resolved (for outputs not written yet, which must not name each other either).
bool sameFileOrPlace(const std::string& a, const std::string& b);

}  // namespace jobshop
