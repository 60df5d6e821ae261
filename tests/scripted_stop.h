// A stop that comes at a chosen look, for the tests that give up a generation at an exact point:
// the steps of a generation take their stop as a template parameter, so that this one never sits in
// the program's own StopCondition.
#pragma once

#include <cstdint>
#include <limits>

namespace jobshop::detail {

struct ScriptedStop {
  // Looks answered "go on" before every later one answers "stop".
  std::int64_t looksBeforeStop = std::numeric_limits<std::int64_t>::max();
  std::int64_t looks = 0;  // every look so far

  bool stopRequested() { return looks++ >= looksBeforeStop; }
};

}  // namespace jobshop::detail
