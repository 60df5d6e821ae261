// The program's own instantiations of variation/mutations_impl.h; those for the tests' scripted
// draws are in tests/scripted_instantiations.cpp.
#include "model/random_source.h"
#include "variation/mutations_impl.h"

namespace jobshop {

template void scrambleMutation(Population&, float*, int, RandomSource&, VariationScratch&);
template void swapMutation(Population&, float*, int, RandomSource&, VariationScratch&);
template void insertionMutation(Population&, float*, int, RandomSource&, VariationScratch&);
template void neighbourSwapMutation(Population&, float*, int, RandomSource&, VariationScratch&);

}  // namespace jobshop
