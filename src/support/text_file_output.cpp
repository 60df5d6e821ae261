// The whole-file write: a temporary file named ".NAME.tmp.PID.N" in the target's folder, created
// exclusively so that two writers never share one, every write and the close checked (a full disk
// often shows only there), then renamed over the target. A rename within one folder is atomic, so
// a reader sees the old file or the new one, never a part.
#include "support/text_file_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "support/temporary_names.h"

namespace jobshop {

namespace {

constexpr int kTemporaryNameAttempts = 100;

// Nothing for 0, the system's words for an error.
MaybeFailure systemFailure(int error) {
  if (error == 0) return std::nullopt;
  return Failure{std::strerror(error)};
}

// Where the bytes finally go: the file a symbolic link points to, so that replacing a linked
// file keeps the link, as writing through it did.
std::filesystem::path finalTarget(const std::string& path, WriteMode mode) {
  std::error_code error;
  if (mode == WriteMode::kCreateNew ||
      !std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
    return path;
  }
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error ? std::filesystem::path(path) : resolved;
}

// A file its owner made read-only stays refused, as opening it for writing was. 0 or the error.
int replaceable(const std::filesystem::path& target, WriteMode mode) {
  if (mode == WriteMode::kReplace && access(target.c_str(), F_OK) == 0 &&
      access(target.c_str(), W_OK) != 0) {
    return errno;
  }
  return 0;
}

// A device, a pipe or a socket (/dev/null, /dev/stdout) cannot be replaced, only written to.
bool isSpecialFile(const std::filesystem::path& target) {
  struct stat existing {};
  return stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) &&
         !S_ISDIR(existing.st_mode);
}

struct TemporaryFile {
  std::string path;
  int descriptor = -1;
  int error = 0;
};

TemporaryFile createTemporary(const std::filesystem::path& target, WriteMode mode) {
  TemporaryFile temporary;
  temporary.error = replaceable(target, mode);
  if (temporary.error != 0) return temporary;
  const std::filesystem::path folder = target.parent_path();
  removeStaleTemporaries(folder);
  for (int n = 0; n < kTemporaryNameAttempts; ++n) {
    temporary.path = (folder / temporaryName(target.filename().string(), getpid(), n)).string();
    temporary.descriptor =
        open(temporary.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    temporary.error = temporary.descriptor < 0 ? errno : 0;
    if (temporary.descriptor >= 0 || temporary.error != EEXIST) break;
  }
  // A replaced file keeps its permission bits rather than taking the defaults of a new file.
  struct stat existing {};
  if (temporary.descriptor >= 0 && mode == WriteMode::kReplace &&
      stat(target.c_str(), &existing) == 0) {
    fchmod(temporary.descriptor, existing.st_mode & 07777);
  }
  return temporary;
}

// Every byte, retrying short writes and interruptions; 0 or the system's error.
int writeAll(int descriptor, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = write(descriptor, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return written < 0 ? errno : ENOSPC;
    done += static_cast<std::size_t>(written);
  }
  return 0;
}

// Syncs and closes; 0 or the first error.
int syncAndClose(int descriptor, int error) {
  if (error == 0 && fsync(descriptor) != 0 && errno != EINVAL) error = errno;
  if (close(descriptor) != 0 && error == 0) error = errno;
  return error;
}

// Puts the temporary file in place without replacing anything: the system refuses when the target
// exists (a dangling link included), so no other writer can slip in between a check and the write.
// A hard link does the same where the file system cannot rename that way.
int placeNew(const std::string& temporary, const std::filesystem::path& target) {
  if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
    return 0;
  }
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
  if (link(temporary.c_str(), target.c_str()) != 0) return errno;
  unlink(temporary.c_str());
  return 0;
}

// Puts a written temporary file in place, or removes it; nothing or the reason.
MaybeFailure place(const std::string& temporary, const std::filesystem::path& target,
                   WriteMode mode, int error) {
  if (error == 0) {
    if (mode == WriteMode::kCreateNew) {
      error = placeNew(temporary, target);
    } else if (std::rename(temporary.c_str(), target.c_str()) != 0) {
      error = errno;
    }
  }
  if (error == 0) return std::nullopt;
  unlink(temporary.c_str());
  return systemFailure(error);
}

}  // namespace

MaybeFailure writeTextFile(const std::string& path, const std::string& text, WriteMode mode) {
  const std::filesystem::path target = finalTarget(path, mode);
  if (mode == WriteMode::kReplace && isSpecialFile(target)) {
    // A named pipe nobody reads would hold the open forever: without waiting it fails at once
    // ("No such device or address"), and once open the writes wait as usual.
    const int descriptor = open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return systemFailure(errno);
    const int flags = fcntl(descriptor, F_GETFL);
    if (flags >= 0) fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    const int error = writeAll(descriptor, text);
    return systemFailure(close(descriptor) != 0 && error == 0 ? errno : error);
  }
  const TemporaryFile temporary = createTemporary(target, mode);
  if (temporary.descriptor < 0) return systemFailure(temporary.error);
  const int error = syncAndClose(temporary.descriptor, writeAll(temporary.descriptor, text));
  return place(temporary.path, target, mode, error);
}

StreamedTextFile::StreamedTextFile(const std::string& path, WriteMode mode)
    : target_(finalTarget(path, mode).string()), mode_(mode) {
  if (mode == WriteMode::kReplace && isSpecialFile(target_)) {
    // Opened once without waiting, so that a named pipe nobody reads fails at once; held open
    // while the stream opens it again, so that a reader there sees no end in between.
    const int probe = open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (probe < 0) {
      failure_ = systemFailure(errno);
      return;
    }
    stream_.open(target_, std::ios::binary | std::ios::trunc);
    close(probe);
    if (!stream_) failure_ = Failure{"cannot open " + target_};
    return;
  }
  const TemporaryFile temporary = createTemporary(target_, mode);
  if (temporary.descriptor < 0) {
    failure_ = systemFailure(temporary.error);
    return;
  }
  close(temporary.descriptor);
  temporary_ = temporary.path;
  stream_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!stream_) failure_ = Failure{"cannot open " + temporary_};
}

StreamedTextFile::~StreamedTextFile() {
  if (!temporary_.empty()) unlink(temporary_.c_str());
}

MaybeFailure StreamedTextFile::finish() {
  if (failure_) return failure_;
  errno = 0;
  stream_.flush();
  int error = stream_ ? 0 : (errno != 0 ? errno : EIO);
  stream_.close();
  if (error == 0 && !stream_) error = errno != 0 ? errno : EIO;
  if (temporary_.empty()) return failure_ = systemFailure(error);
  if (error == 0) {
    // The stream cannot sync, so the file is opened again for that.
    const int descriptor = open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
    error = descriptor < 0 ? errno : syncAndClose(descriptor, 0);
  }
  failure_ = place(temporary_, target_, mode_, error);
  temporary_.clear();
  return failure_;
}

bool sameExistingFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool sameFileOrPlace(const std::string& a, const std::string& b) {
  if (sameExistingFile(a, b)) return true;
  std::error_code errorA;
  std::error_code errorB;
  const std::filesystem::path first = std::filesystem::weakly_canonical(a, errorA);
  const std::filesystem::path second = std::filesystem::weakly_canonical(b, errorB);
  return errorA || errorB ? a == b : first == second;
}

}  // namespace jobshop
