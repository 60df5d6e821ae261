// The instantiations of the templates of variation/offspring_impl.h.
#include "model/random_source.h"
#include "model/scripted_random.h"
#include "support/scripted_stop.h"
#include "variation/offspring_impl.h"

namespace jobshop {

template bool passesPercentage(int, RandomSource&);
template bool passesPercentage(int, detail::ScriptedRandom&);
template void applyCrossovers(Population&, const Parameters&, const float*, const float*, int,
                              RandomSource&, VariationScratch&);
template void applyCrossovers(Population&, const Parameters&, const float*, const float*, int,
                              detail::ScriptedRandom&, VariationScratch&);
template void applyMutations(Population&, const Parameters&, float*, int, RandomSource&,
                             VariationScratch&);
template void applyMutations(Population&, const Parameters&, float*, int, detail::ScriptedRandom&,
                             VariationScratch&);
template bool generateOffspring(RunState&, RandomSource&, StopCondition&, VariationScratch&);
template bool generateOffspring(RunState&, detail::ScriptedRandom&, StopCondition&,
                                VariationScratch&);
template bool generateOffspring(RunState&, RandomSource&, detail::ScriptedStop&, VariationScratch&);
template bool generateOffspring(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&,
                                VariationScratch&);

}  // namespace jobshop
