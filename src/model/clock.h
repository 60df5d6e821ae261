// The calendar clock the random source is reseeded from, read through one injectable function so
// that an execution can be made reproducible (--seed) and tests can fix it.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>

namespace jobshop {

struct Clock {
  std::function<std::uint32_t()> read;
};

// The one place the program reads the calendar: the time in whole seconds since the epoch.
std::time_t calendarSeconds();

// Every reading is the calendar time in whole seconds, truncated to 32 bits.
Clock calendarClock();
// The k-th reading (k = 0, 1, ...) returns first + k modulo 2^32: the clock of executions made
// before the hashed clock, kept to repeat them.
Clock steppingClock(std::uint32_t first);
// The k-th reading is hashedReading(seed, k): executions with nearby seeds never walk through the
// same readings, so no run of one repeats a run of another.
Clock hashedClock(std::uint32_t seed);

// The high 32 bits of a 64-bit finalising mix of (seed << 32) + k: every pair (seed, k) gets its
// own input, and the mix spreads neighbouring inputs over the whole range.
std::uint32_t hashedReading(std::uint32_t seed, std::uint32_t k);

// A seed from the operating system's entropy source, for executions given none: executions started
// in the same second get different seeds.
std::uint32_t entropySeed();

template <class Random>
void reseedFromClock(Random& random, Clock& clock) {
  random.seedRandom(clock.read());
}

}  // namespace jobshop
