// Clock sources: the calendar, the stepping clock of older executions, and the hashed clock.
#include "model/clock.h"

#include <sys/random.h>

#include <memory>
#include <random>

namespace jobshop {

std::time_t calendarSeconds() { return std::time(nullptr); }

Clock calendarClock() {
  return Clock{[] { return static_cast<std::uint32_t>(calendarSeconds()); }};
}

Clock steppingClock(std::uint32_t first) {
  auto next = std::make_shared<std::uint32_t>(first);
  return Clock{[next] { return (*next)++; }};
}

std::uint32_t hashedReading(std::uint32_t seed, std::uint32_t k) {
  std::uint64_t z = (static_cast<std::uint64_t>(seed) << 32) + k;
  z += 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<std::uint32_t>(z >> 32);
}

Clock hashedClock(std::uint32_t seed) {
  auto next = std::make_shared<std::uint32_t>(0);
  return Clock{[seed, next] { return hashedReading(seed, (*next)++); }};
}

std::uint32_t entropySeed() {
  std::uint32_t seed = 0;
  if (getrandom(&seed, sizeof seed, 0) == static_cast<ssize_t>(sizeof seed)) return seed;
  // Without getrandom (an old kernel, a seccomp filter) the library's device still differs
  // between executions.
  std::random_device device;
  return static_cast<std::uint32_t>(device());
}

}  // namespace jobshop
