// Clock sources: the calendar, and the stepping clock every execution but --wall-clock uses.
#include "model/clock.h"

#include <memory>

std::time_t calendarSeconds() { return std::time(nullptr); }

Clock calendarClock() {
  return Clock{[] { return static_cast<std::uint32_t>(calendarSeconds()); }};
}

Clock steppingClock(std::uint32_t first) {
  auto next = std::make_shared<std::uint32_t>(first);
  return Clock{[next] { return (*next)++; }};
}
