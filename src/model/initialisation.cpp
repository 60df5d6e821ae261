// The program's own instantiations of model/initialisation_impl.h; those for the tests' scripted
// draws are in tests/scripted_instantiations.cpp.
#include "model/initialisation_impl.h"
#include "model/random_source.h"

namespace jobshop {

template void initialisePopulation(Population&, const Instance&, RandomSource&);

}  // namespace jobshop
