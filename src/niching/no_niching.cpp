// The program's own instantiations of niching/no_niching_impl.h; those for the tests' scripted
// draws are in tests/scripted_instantiations.cpp.
#include "model/random_source.h"
#include "niching/no_niching_impl.h"

namespace jobshop {

template bool selectByMakespanTournament(RunState&, RandomSource&, StopCondition&);

}  // namespace jobshop
