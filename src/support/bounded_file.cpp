// stat, then open with O_NONBLOCK and look again at what was opened, then read at most one chunk
// past the bound.
#include "support/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace jobshop {

namespace {

FileKind kindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::kRegular;
  if (S_ISDIR(mode)) return FileKind::kFolder;
  if (S_ISFIFO(mode)) return FileKind::kNamedPipe;
  if (S_ISCHR(mode)) return FileKind::kCharacterDevice;
  if (S_ISBLK(mode)) return FileKind::kBlockDevice;
  if (S_ISSOCK(mode)) return FileKind::kSocket;
  return FileKind::kOther;
}

std::string kindText(FileKind kind) {
  switch (kind) {
    case FileKind::kFolder:
      return "a folder";
    case FileKind::kNamedPipe:
      return "a named pipe";
    case FileKind::kCharacterDevice:
      return "a character device";
    case FileKind::kBlockDevice:
      return "a block device";
    case FileKind::kSocket:
      return "a socket";
    case FileKind::kRegular:
    case FileKind::kOther:
      break;
  }
  return "something else";
}

BoundedRead refusal(BoundedReadFailure failure, std::string problem, std::int64_t limit) {
  BoundedRead read;
  read.failure = failure;
  read.problem = std::move(problem);
  read.limit = limit;
  return read;
}

std::optional<BoundedRead> checked(FileKind kind, std::int64_t size, std::int64_t limit) {
  if (kind != FileKind::kRegular) {
    BoundedRead read =
        refusal(BoundedReadFailure::kNotRegular, kindText(kind) + ", not a regular file", limit);
    read.kind = kind;
    return read;
  }
  if (size > limit) {
    BoundedRead read =
        refusal(BoundedReadFailure::kTooLarge,
                "a file of " + std::to_string(size) + " bytes, more than the " +
                    std::to_string(limit) + " (" + limitText(limit) + ") a file may have here",
                limit);
    read.size = size;
    return read;
  }
  return std::nullopt;
}

std::optional<BoundedRead> checked(const struct stat& status, std::int64_t limit) {
  return checked(kindOf(status.st_mode), static_cast<std::int64_t>(status.st_size), limit);
}

struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

BoundedRead readBoundedFile(const std::string& path, std::int64_t limit) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0)
    return refusal(BoundedReadFailure::kUnreadable, std::strerror(errno), limit);
  if (auto refused = checked(status, limit)) return *refused;
  // Replaced by a pipe or device since the stat: O_NONBLOCK keeps the open from waiting.
  const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
  if (file.fd < 0) return refusal(BoundedReadFailure::kUnreadable, std::strerror(errno), limit);
  if (::fstat(file.fd, &status) != 0)
    return refusal(BoundedReadFailure::kUnreadable, std::strerror(errno), limit);
  if (auto refused = checked(status, limit)) return *refused;
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      return refusal(BoundedReadFailure::kUnreadable, std::strerror(errno), limit);
    }
    text.append(buffer, static_cast<std::size_t>(got));
    // Grown since the look: refused as it stands now, not read on.
    if (static_cast<std::int64_t>(text.size()) > limit)
      return *checked(FileKind::kRegular, static_cast<std::int64_t>(text.size()), limit);
  }
  BoundedRead read;
  read.text = std::move(text);
  read.limit = limit;
  return read;
}

std::string limitText(std::int64_t limit) {
  const std::pair<std::int64_t, const char*> units[] = {
      {kGiB, "GiB"}, {kMiB, "MiB"}, {kKiB, "KiB"}};
  for (const auto& [unit, name] : units) {
    if (limit >= unit && limit % unit == 0) return std::to_string(limit / unit) + " " + name;
  }
  return std::to_string(limit) + " bytes";
}

}  // namespace jobshop
