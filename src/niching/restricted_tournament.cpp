// The program's own instantiations of niching/restricted_tournament_impl.h (those for the tests'
// scripted draws are in tests/scripted_instantiations.cpp), and the window's size.
#include <algorithm>

#include "model/random_source.h"
#include "niching/restricted_tournament_impl.h"

namespace jobshop {

int windowMembers(const NichingSettings& settings, int populationSize) {
  return std::clamp(windowSizeFor(settings, populationSize), 1, std::max(1, populationSize));
}

template bool selectUniformly(RunState&, RandomSource&, StopCondition&);
template bool replaceInRestrictedTournaments(RunState&, RandomSource&, StopCondition&,
                                             RestrictedTournamentScratch&);

}  // namespace jobshop
