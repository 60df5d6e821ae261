// The program's own instantiations of niching/sharing_impl.h; those for the tests' scripted draws
// are in tests/scripted_instantiations.cpp.
#include "model/random_source.h"
#include "niching/sharing_impl.h"

namespace jobshop {

template bool selectBySharedFitness(RunState&, RandomSource&, StopCondition&, SharedFitness&);

}  // namespace jobshop
