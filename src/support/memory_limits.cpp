// A group's limit binds its members however deep, so every group from the program's own up to the
// root is looked at. Inside a container the path of /proc/self/cgroup may be the host's and not
// be mounted, and then the root of the mount is the group's own.
#include "support/memory_limits.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>

#include "support/bounded_file.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

// v1 writes its "no limit" as the largest page multiple below 2^63.
constexpr std::uint64_t kNoLimitFrom = std::uint64_t{1} << 62;

std::optional<std::uint64_t> smaller(std::optional<std::uint64_t> a,
                                     std::optional<std::uint64_t> b) {
  if (!a) return b;
  if (!b) return a;
  return std::min(*a, *b);
}

// The smallest limit in file of the groups from path up to the mount's root.
std::optional<std::uint64_t> limitUpFrom(const std::string& mount, std::string path,
                                         const std::string& file) {
  std::optional<std::uint64_t> least;
  while (true) {
    if (const std::optional<std::string> text =
            readWholeFile(mount + path + "/" + file, kMaxMarkerFileBytes)) {
      least = smaller(least, parseGroupLimit(*text));
    }
    if (path.empty() || path == "/") return least;
    path = path.substr(0, path.find_last_of('/'));
  }
}

// The group path of a /proc/self/cgroup line "id:controllers:path" for v1's memory controller
// (controllers holds "memory") or v2's single line (id 0, no controllers).
std::optional<std::string> groupPath(const std::string& cgroups, bool v2) {
  for (const std::string& line : splitLines(cgroups)) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const bool match = v2 ? line.compare(0, first, "0") == 0 && controllers.empty()
                          : ("," + controllers + ",").find(",memory,") != std::string::npos;
    if (match) return line.substr(second + 1);
  }
  return std::nullopt;
}

std::optional<std::uint64_t> groupLimit() {
  const std::string cgroups = readWholeFile("/proc/self/cgroup", kMaxMarkerFileBytes).value_or("");
  std::optional<std::uint64_t> least;
  if (const std::optional<std::string> path = groupPath(cgroups, true)) {
    least = smaller(least, limitUpFrom("/sys/fs/cgroup", *path, "memory.max"));
  }
  if (const std::optional<std::string> path = groupPath(cgroups, false)) {
    least = smaller(least, limitUpFrom("/sys/fs/cgroup/memory", *path, "memory.limit_in_bytes"));
  }
  return least;
}

std::optional<std::uint64_t> addressSpaceLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return std::nullopt;
  return static_cast<std::uint64_t>(limit.rlim_cur);
}

std::optional<std::uint64_t> physicalMemory() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return std::nullopt;
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

}  // namespace

std::optional<std::uint64_t> parseGroupLimit(const std::string& text) {
  std::string digits = text;
  while (!digits.empty() && (digits.back() == '\n' || digits.back() == ' ')) digits.pop_back();
  std::uint64_t value = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, ec] = std::from_chars(digits.data(), end, value);
  if (digits.empty() || ec != std::errc() || stop != end || value >= kNoLimitFrom) {
    return std::nullopt;
  }
  return value;
}

MemoryLimits currentMemoryLimits() { return {addressSpaceLimit(), groupLimit(), physicalMemory()}; }

std::optional<std::int64_t> usableMemory(const MemoryLimits& limits) {
  const std::optional<std::uint64_t> least =
      smaller(smaller(limits.addressSpace, limits.group), limits.physical);
  if (!least) return std::nullopt;
  return static_cast<std::int64_t>(std::min<std::uint64_t>(*least, INT64_MAX));
}

}  // namespace jobshop
