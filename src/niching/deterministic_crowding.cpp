// The program's own instantiations of niching/deterministic_crowding_impl.h; those for the tests'
// scripted draws are in tests/scripted_instantiations.cpp.
#include "model/random_source.h"
#include "niching/deterministic_crowding_impl.h"

namespace jobshop {

template bool selectShuffledPairs(RunState&, RandomSource&, StopCondition&,
                                  DeterministicCrowdingScratch&);
template bool replaceNearerParents(RunState&, StopCondition&, DeterministicCrowdingScratch&);

}  // namespace jobshop
