// The niching schemes a run can use, one alternative each, chosen once per execution. A scheme
// holds its own scratch and answers select(state, random, stop), which fills state.matingPool, and
// replace(state, random, stop), which puts state.offspring into state.population and leaves it in
// makespan order; both give up and return false once stop answers yes.
#pragma once

#include <variant>

#include "input/parameters.h"
#include "niching/clearing.h"
#include "niching/crowding.h"
#include "niching/deterministic_crowding.h"
#include "niching/no_niching.h"
#include "niching/restricted_tournament.h"
#include "niching/sharing.h"

namespace jobshop {

using NichingScheme =
    std::variant<CrowdingScheme, DeterministicCrowdingScheme, RestrictedTournamentScheme,
                 ClearingScheme, SharingScheme, NoNichingScheme>;

inline NichingScheme chooseNichingScheme(const Parameters& parameters) {
  switch (parameters.niching.method) {
    case NichingMethod::crowding:
      return CrowdingScheme{};
    case NichingMethod::deterministicCrowding:
      return DeterministicCrowdingScheme{};
    case NichingMethod::restrictedTournament:
      return RestrictedTournamentScheme{};
    case NichingMethod::clearing:
      return ClearingScheme{};
    case NichingMethod::sharing:
      return SharingScheme{};
    case NichingMethod::none:
      return NoNichingScheme{};
  }
  return CrowdingScheme{};
}

}  // namespace jobshop
