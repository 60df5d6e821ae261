// stat, then open with O_NONBLOCK and look again at what was opened, then read at most one byte
// past the bound.
#include "campaigns/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace jobshop {

namespace {

std::string kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

BoundedRead refusal(BoundedReadFailure failure, std::string problem) {
  BoundedRead read;
  read.failure = failure;
  read.problem = std::move(problem);
  return read;
}

std::optional<BoundedRead> checked(const struct stat& status) {
  if (!S_ISREG(status.st_mode))
    return refusal(BoundedReadFailure::kNotRegular,
                   kindOf(status.st_mode) + ", not a regular file");
  if (status.st_size > kMaxCampaignInputBytes)
    return refusal(BoundedReadFailure::kTooLarge,
                   "a file of " + std::to_string(status.st_size) + " bytes, more than the " +
                       std::to_string(kMaxCampaignInputBytes) + " (16 MiB) a file may have here");
  return std::nullopt;
}

struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

BoundedRead readBoundedFile(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0)
    return refusal(BoundedReadFailure::kUnreadable, std::strerror(errno));
  if (auto refused = checked(status)) return *refused;
  // Replaced by a pipe or device since the stat: O_NONBLOCK keeps the open from waiting.
  const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
  if (file.fd < 0) return refusal(BoundedReadFailure::kUnreadable, std::strerror(errno));
  if (::fstat(file.fd, &status) != 0)
    return refusal(BoundedReadFailure::kUnreadable, std::strerror(errno));
  if (auto refused = checked(status)) return *refused;
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      return refusal(BoundedReadFailure::kUnreadable, std::strerror(errno));
    }
    text.append(buffer, static_cast<std::size_t>(got));
    if (static_cast<std::int64_t>(text.size()) > kMaxCampaignInputBytes) {
      struct stat grown = status;
      grown.st_size = static_cast<off_t>(text.size());
      return *checked(grown);
    }
  }
  BoundedRead read;
  read.text = std::move(text);
  return read;
}

}  // namespace jobshop
