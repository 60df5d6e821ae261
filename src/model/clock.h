// The calendar clock the random source is reseeded from, read through one injectable function so
// that an execution can be made reproducible (--seed) and tests can fix it.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>

struct Clock {
  std::function<std::uint32_t()> read;
};

// The one place the program reads the calendar: the time in whole seconds since the epoch.
std::time_t calendarSeconds();

// Every reading is the calendar time in whole seconds, truncated to 32 bits.
Clock calendarClock();
// The k-th reading (k = 0, 1, ...) returns first + k modulo 2^32.
Clock steppingClock(std::uint32_t first);

template <class Random>
void reseedFromClock(Random& random, Clock& clock) {
  random.seedRandom(clock.read());
}
