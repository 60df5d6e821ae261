// The program's own instantiations of niching/crowding_replacement_impl.h; those for the tests'
// scripted draws are in tests/scripted_instantiations.cpp.
#include "model/random_source.h"
#include "niching/crowding_replacement_impl.h"

namespace jobshop {

template bool replaceByCrowding(RunState&, RandomSource&, StopCondition&, ReplacementScratch&);

}  // namespace jobshop
