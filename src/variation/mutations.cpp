// The instantiations of the templates of variation/mutations_impl.h.
#include "model/random_source.h"
#include "model/scripted_random.h"
#include "variation/mutations_impl.h"

namespace jobshop {

template void scrambleMutation(Population&, float*, int, RandomSource&, VariationScratch&);
template void scrambleMutation(Population&, float*, int, detail::ScriptedRandom&,
                               VariationScratch&);
template void swapMutation(Population&, float*, int, RandomSource&, VariationScratch&);
template void swapMutation(Population&, float*, int, detail::ScriptedRandom&, VariationScratch&);
template void insertionMutation(Population&, float*, int, RandomSource&, VariationScratch&);
template void insertionMutation(Population&, float*, int, detail::ScriptedRandom&,
                                VariationScratch&);
template void neighbourSwapMutation(Population&, float*, int, RandomSource&, VariationScratch&);
template void neighbourSwapMutation(Population&, float*, int, detail::ScriptedRandom&,
                                    VariationScratch&);

}  // namespace jobshop
