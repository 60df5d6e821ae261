// The instantiations of the templates of variation/segment_crossovers_impl.h.
#include "model/random_source.h"
#include "model/scripted_random.h"
#include "variation/segment_crossovers_impl.h"

namespace jobshop {

template void segmentFillCrossover(Population&, const float*, const float*, int, RandomSource&,
                                   VariationScratch&);
template void segmentFillCrossover(Population&, const float*, const float*, int,
                                   detail::ScriptedRandom&, VariationScratch&);
template void segmentInsertCrossover(Population&, const float*, const float*, int, RandomSource&,
                                     VariationScratch&);
template void segmentInsertCrossover(Population&, const float*, const float*, int,
                                     detail::ScriptedRandom&, VariationScratch&);
template void segmentWrapCrossover(Population&, const float*, const float*, int, RandomSource&,
                                   VariationScratch&);
template void segmentWrapCrossover(Population&, const float*, const float*, int,
                                   detail::ScriptedRandom&, VariationScratch&);

}  // namespace jobshop
