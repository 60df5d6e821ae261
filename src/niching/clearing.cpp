// The program's own instantiations of niching/clearing_impl.h (those for the tests' scripted
// draws are in tests/scripted_instantiations.cpp), and the clearing's bounds.
#include <algorithm>

#include "model/random_source.h"
#include "niching/clearing_impl.h"

namespace jobshop {

ClearingBounds clearingBounds(const NichingSettings& settings, int geneCount) {
  return {clearingRadiusFor(settings, geneCount), std::max(1, settings.clearingCapacity)};
}

template bool selectByClearedTournament(RunState&, RandomSource&, StopCondition&, ClearingScratch&);
template bool replaceByClearing(RunState&, StopCondition&, ClearingScratch&);

}  // namespace jobshop
