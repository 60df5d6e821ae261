// How much memory this process may take: the least of the machine's physical memory, the
// address-space limit it runs under and the memory limit of its control group. Allocations past it
// are not refused by the system at once (memory is overcommitted) but end in the process being
// killed, so what cannot fit is refused before it is allocated.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace jobshop {

struct MemoryLimits {
  std::optional<std::int64_t> physical;      // the machine's RAM
  std::optional<std::int64_t> addressSpace;  // RLIMIT_AS, when set
  std::optional<std::int64_t> controlGroup;  // memory.max (v2) or memory.limit_in_bytes (v1)
};

// The limits of the running process, each absent when the system does not set or tell it.
MemoryLimits currentMemoryLimits();

// The least of the limits given; nullopt when none is known.
std::optional<std::int64_t> usableMemory(const MemoryLimits& limits);

// A cgroup limit file's text as a byte count: nullopt for "max", a v1 "no limit" value (near
// 2^63) or text that is not a whole number.
std::optional<std::int64_t> controlGroupLimit(const std::string& text);

}  // namespace jobshop
