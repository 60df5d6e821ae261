#include "support/memory_limits.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>

namespace jobshop {

namespace {

// cgroup v1 writes "no limit" as the largest page-aligned 64-bit value; anything past a petabyte
// is taken as that.
constexpr std::int64_t kNoControlGroupLimit = std::int64_t{1} << 50;

std::optional<std::int64_t> physicalMemory() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return std::nullopt;
  return std::int64_t{pages} * pageSize;
}

std::optional<std::int64_t> addressSpaceLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return std::nullopt;
  return static_cast<std::int64_t>(std::min<rlim_t>(limit.rlim_cur, INT64_MAX));
}

// A few bytes of a pseudo-file; never more, whatever is mounted there.
std::optional<std::string> smallFileText(const std::string& path) {
  std::ifstream file(path);
  if (!file) return std::nullopt;
  std::string text(64, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(file.gcount()));
  return text;
}

// The limit of the group this process belongs to, as /proc/self/cgroup names it.
std::optional<std::int64_t> ownGroupLimit() {
  std::ifstream membership("/proc/self/cgroup");
  std::string line;
  while (std::getline(membership, line)) {
    // v2: "0::/path"; v1: "N:memory:/path" (possibly among other controllers).
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const std::string path = line.substr(second + 1);
    std::optional<std::string> text;
    if (controllers.empty())
      text = smallFileText("/sys/fs/cgroup" + path + "/memory.max");
    else if (controllers.find("memory") != std::string::npos)
      text = smallFileText("/sys/fs/cgroup/memory" + path + "/memory.limit_in_bytes");
    if (text) return controlGroupLimit(*text);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> controlGroupLimit(const std::string& text) {
  const std::size_t end = text.find_first_of(" \n");
  const std::string value = text.substr(0, end);
  std::int64_t bytes = 0;
  const auto [rest, error] = std::from_chars(value.data(), value.data() + value.size(), bytes);
  if (value.empty() || error != std::errc() || rest != value.data() + value.size() || bytes <= 0 ||
      bytes >= kNoControlGroupLimit)
    return std::nullopt;
  return bytes;
}

MemoryLimits currentMemoryLimits() {
  return {physicalMemory(), addressSpaceLimit(), ownGroupLimit()};
}

std::optional<std::int64_t> usableMemory(const MemoryLimits& limits) {
  std::optional<std::int64_t> least;
  for (const std::optional<std::int64_t>& limit :
       {limits.physical, limits.addressSpace, limits.controlGroup})
    if (limit && (!least || *limit < *least)) least = limit;
  return least;
}

}  // namespace jobshop
