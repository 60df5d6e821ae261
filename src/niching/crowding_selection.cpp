// The instantiations of the templates of niching/crowding_selection_impl.h.
#include "model/random_source.h"
#include "model/scripted_random.h"
#include "niching/crowding_selection_impl.h"
#include "support/scripted_stop.h"

namespace jobshop {

template bool selectMates(RunState&, RandomSource&, StopCondition&, SelectionScratch&);
template bool selectMates(RunState&, detail::ScriptedRandom&, StopCondition&, SelectionScratch&);
template bool selectMates(RunState&, RandomSource&, detail::ScriptedStop&, SelectionScratch&);
template bool selectMates(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&,
                          SelectionScratch&);

}  // namespace jobshop
