// The instantiations of the templates of model/initialisation_impl.h.
#include "model/initialisation_impl.h"
#include "model/random_source.h"
#include "model/scripted_random.h"

namespace jobshop {

template void initialisePopulation(Population&, const Instance&, RandomSource&);
template void initialisePopulation(Population&, const Instance&, detail::ScriptedRandom&);

}  // namespace jobshop
