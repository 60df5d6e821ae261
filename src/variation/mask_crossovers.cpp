// The program's own instantiations of variation/mask_crossovers_impl.h; those for the tests'
// scripted draws are in tests/scripted_instantiations.cpp.
#include "model/random_source.h"
#include "variation/mask_crossovers_impl.h"

namespace jobshop {

template void precedenceCrossover(Population&, const float*, const float*, int, RandomSource&,
                                  VariationScratch&);
template void maskKeepCrossover(Population&, const float*, const float*, int, RandomSource&,
                                VariationScratch&);
template void maskReorderCrossover(Population&, const float*, const float*, int, RandomSource&,
                                   VariationScratch&);

}  // namespace jobshop
