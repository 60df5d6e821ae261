// Parsing a temporary's name from its end, since NAME may itself hold dots and digits.
#include "support/temporary_names.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <ctime>
#include <system_error>

namespace jobshop {

namespace {

constexpr std::string_view kMarker = ".tmp.";

bool allDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool writerIsGone(pid_t pid) { return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH; }

// A regular file (not a link, whose target is none of this folder's business) unchanged for
// kStaleTemporaryAge.
bool untouchedRegularFile(const std::filesystem::path& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  const auto age = std::chrono::seconds(std::time(nullptr) - status.st_mtime);
  return age >= kStaleTemporaryAge;
}

}  // namespace

std::string temporaryName(const std::string& targetName, pid_t pid, int attempt) {
  return "." + targetName + std::string(kMarker) + std::to_string(pid) + "." +
         std::to_string(attempt);
}

std::optional<pid_t> temporaryOwner(const std::string& name) {
  const std::string_view text = name;
  const std::size_t lastDot = text.rfind('.');
  if (text.size() < 2 || text.front() != '.' || lastDot == std::string_view::npos ||
      !allDigits(text.substr(lastDot + 1))) {
    return std::nullopt;
  }
  const std::string_view head = text.substr(0, lastDot);
  const std::size_t marker = head.rfind(kMarker);
  if (marker == std::string_view::npos || marker < 2) return std::nullopt;
  const std::string_view digits = head.substr(marker + kMarker.size());
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (!allDigits(digits) || error != std::errc() || end != digits.data() + digits.size())
    return std::nullopt;
  return pid;
}

void removeStaleTemporaries(const std::filesystem::path& folder) {
  std::error_code error;
  const std::filesystem::path where = folder.empty() ? std::filesystem::path(".") : folder;
  for (const auto& entry : std::filesystem::directory_iterator(where, error)) {
    const std::optional<pid_t> owner = temporaryOwner(entry.path().filename().string());
    if (!owner || *owner == ::getpid() || !writerIsGone(*owner)) continue;
    if (untouchedRegularFile(entry.path())) ::unlink(entry.path().c_str());
  }
}

}  // namespace jobshop
