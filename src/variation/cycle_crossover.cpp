// The program's own instantiations of variation/cycle_crossover_impl.h; those for the tests'
// scripted draws are in tests/scripted_instantiations.cpp.
#include "model/random_source.h"
#include "variation/cycle_crossover_impl.h"

namespace jobshop {

template void cycleCrossover(Population&, const float*, const float*, int, RandomSource&,
                             VariationScratch&);

}  // namespace jobshop
