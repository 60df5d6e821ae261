// The instantiations of the templates of evolution/generation_cycle_impl.h.
#include "evolution/generation_cycle_impl.h"
#include "model/random_source.h"
#include "model/scripted_random.h"
#include "support/scripted_stop.h"

namespace jobshop {

template bool advanceGeneration(RunState&, RandomSource&, StopCondition&, NichingScheme&,
                                VariationScratch&);
template bool advanceGeneration(RunState&, detail::ScriptedRandom&, StopCondition&, NichingScheme&,
                                VariationScratch&);
template bool advanceGeneration(RunState&, RandomSource&, detail::ScriptedStop&, NichingScheme&,
                                VariationScratch&);
template bool advanceGeneration(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&,
                                NichingScheme&, VariationScratch&);

}  // namespace jobshop
