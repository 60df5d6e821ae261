// The instantiations of the templates of variation/cycle_crossover_impl.h.
#include "model/random_source.h"
#include "model/scripted_random.h"
#include "variation/cycle_crossover_impl.h"

namespace jobshop {

template void cycleCrossover(Population&, const float*, const float*, int, RandomSource&,
                             VariationScratch&);
template void cycleCrossover(Population&, const float*, const float*, int, detail::ScriptedRandom&,
                             VariationScratch&);

}  // namespace jobshop
