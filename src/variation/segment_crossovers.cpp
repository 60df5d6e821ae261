// The program's own instantiations of variation/segment_crossovers_impl.h; those for the tests'
// scripted draws are in tests/scripted_instantiations.cpp.
#include "model/random_source.h"
#include "variation/segment_crossovers_impl.h"

namespace jobshop {

template void segmentFillCrossover(Population&, const float*, const float*, int, RandomSource&,
                                   VariationScratch&);
template void segmentInsertCrossover(Population&, const float*, const float*, int, RandomSource&,
                                     VariationScratch&);
template void segmentWrapCrossover(Population&, const float*, const float*, int, RandomSource&,
                                   VariationScratch&);

}  // namespace jobshop
