// The niching schemes a run can use, one alternative each, chosen once per execution. A scheme
// holds its own scratch and answers select(state, random, stop), which fills state.matingPool, and
// replace(state, random, stop), which puts state.offspring into state.population; both give up and
// return false once stop answers yes.
#pragma once

#include <variant>

#include "input/parameters.h"
#include "niching/crowding.h"

namespace jobshop {

using NichingScheme = std::variant<CrowdingScheme>;

// Multi-niche crowding, the one scheme the parameters can ask for today.
inline NichingScheme chooseNichingScheme(const Parameters& /*parameters*/) {
  return CrowdingScheme{};
}

}  // namespace jobshop
