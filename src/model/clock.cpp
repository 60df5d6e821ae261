// Clock sources: the calendar and the stepping clock of --seed.
#include "model/clock.h"

#include <ctime>
#include <memory>

Clock calendarClock() {
  return Clock{[] { return static_cast<std::uint32_t>(std::time(nullptr)); }};
}

Clock steppingClock(std::uint32_t first) {
  auto next = std::make_shared<std::uint32_t>(first);
  return Clock{[next] { return (*next)++; }};
}
