// The instantiations of the templates of variation/mask_crossovers_impl.h.
#include "model/random_source.h"
#include "model/scripted_random.h"
#include "variation/mask_crossovers_impl.h"

namespace jobshop {

template void precedenceCrossover(Population&, const float*, const float*, int, RandomSource&,
                                  VariationScratch&);
template void precedenceCrossover(Population&, const float*, const float*, int,
                                  detail::ScriptedRandom&, VariationScratch&);
template void maskKeepCrossover(Population&, const float*, const float*, int, RandomSource&,
                                VariationScratch&);
template void maskKeepCrossover(Population&, const float*, const float*, int,
                                detail::ScriptedRandom&, VariationScratch&);
template void maskReorderCrossover(Population&, const float*, const float*, int, RandomSource&,
                                   VariationScratch&);
template void maskReorderCrossover(Population&, const float*, const float*, int,
                                   detail::ScriptedRandom&, VariationScratch&);

}  // namespace jobshop
