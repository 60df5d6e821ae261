// The memory limits the program runs under: the address space it may reserve (RLIMIT_AS) and the
// memory its control group may use (cgroup v2 memory.max, v1 memory.limit_in_bytes, the smallest
// on the way up from the program's group). A large table sized without them is refused at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace jobshop {

struct MemoryLimits {
  std::optional<std::uint64_t> addressSpace;  // bytes; none when unlimited
  std::optional<std::uint64_t> group;         // bytes; none when unlimited or not found
};

MemoryLimits currentMemoryLimits();

// The limit a cgroup file holds: none for "max" or v1's "no limit" (near 2^63), nor for a text
// that is not a number.
std::optional<std::uint64_t> parseGroupLimit(const std::string& text);

}  // namespace jobshop
