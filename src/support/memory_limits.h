// The memory limits the program runs under: the address space it may reserve (RLIMIT_AS), the
// memory its control group may use (cgroup v2 memory.max, v1 memory.limit_in_bytes, the smallest
// on the way up from the program's group) and the machine's memory. Memory is overcommitted, so an
// allocation past them may succeed and the process be killed later: what cannot fit is refused
// before it is allocated.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace jobshop {

struct MemoryLimits {
  std::optional<std::uint64_t> addressSpace;  // bytes; none when unlimited
  std::optional<std::uint64_t> group;         // bytes; none when unlimited or not found
  std::optional<std::uint64_t> physical;      // bytes of the machine's memory; none if not told
};

MemoryLimits currentMemoryLimits();

// The least of the limits; nullopt when none is known.
std::optional<std::int64_t> usableMemory(const MemoryLimits& limits);

// The limit a cgroup file holds: none for "max" or v1's "no limit" (near 2^63), nor for a text
// that is not a number.
std::optional<std::uint64_t> parseGroupLimit(const std::string& text);

}  // namespace jobshop
