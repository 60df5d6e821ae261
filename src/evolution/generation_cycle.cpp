// The program's own instantiations of evolution/generation_cycle_impl.h; those for the tests'
// scripted draws are in tests/scripted_instantiations.cpp.
#include "evolution/generation_cycle_impl.h"
#include "model/random_source.h"

namespace jobshop {

template bool advanceGeneration(RunState&, RandomSource&, StopCondition&, NichingScheme&,
                                VariationScratch&);

}  // namespace jobshop
