// The program's own instantiations of variation/offspring_impl.h; those for the tests' scripted
// draws are in tests/scripted_instantiations.cpp.
#include "model/random_source.h"
#include "variation/offspring_impl.h"

namespace jobshop {

template bool passesPercentage(int, RandomSource&);
template void applyCrossovers(Population&, const Parameters&, const float*, const float*, int,
                              RandomSource&, VariationScratch&);
template void applyMutations(Population&, const Parameters&, float*, int, RandomSource&,
                             VariationScratch&);
template bool generateOffspring(RunState&, RandomSource&, StopCondition&, VariationScratch&);

}  // namespace jobshop
