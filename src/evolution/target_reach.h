// Whether a makespan counts as reaching the instance's target, one comparison for every figure of
// a run that depends on it.
#pragma once

#include "input/instance.h"

namespace jobshop {

inline bool reachesTarget(float makespan, const Instance& instance) {
  // Compared as doubles, which hold both the int target and the float makespan exactly.
  return static_cast<double>(makespan) <= static_cast<double>(instance.targetMakespan);
}

}  // namespace jobshop
