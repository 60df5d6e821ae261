// The program's own instantiations of niching/crowding_selection_impl.h; those for the tests'
// scripted draws are in tests/scripted_instantiations.cpp.
#include "model/random_source.h"
#include "niching/crowding_selection_impl.h"

namespace jobshop {

template bool selectMates(RunState&, RandomSource&, StopCondition&, SelectionScratch&);

}  // namespace jobshop
