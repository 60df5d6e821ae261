// The instantiations of the templates of niching/crowding_replacement_impl.h.
#include "model/random_source.h"
#include "model/scripted_random.h"
#include "niching/crowding_replacement_impl.h"
#include "support/scripted_stop.h"

namespace jobshop {

template bool replaceByCrowding(RunState&, RandomSource&, StopCondition&, ReplacementScratch&);
template bool replaceByCrowding(RunState&, detail::ScriptedRandom&, StopCondition&,
                                ReplacementScratch&);
template bool replaceByCrowding(RunState&, RandomSource&, detail::ScriptedStop&,
                                ReplacementScratch&);
template bool replaceByCrowding(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&,
                                ReplacementScratch&);

}  // namespace jobshop
