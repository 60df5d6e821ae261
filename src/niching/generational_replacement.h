// Generational replacement that keeps the best schedule: the children take the population's
// place, unless the best of the population beats them all, in which case it stays in front and the
// worst child is the one left out.
#pragma once

#include "model/run_state.h"
#include "niching/makespan_order.h"

namespace jobshop {

// state.population := the children of state.offspring in ascending makespan (equal makespans in
// row order), with their rows of state.offspringSequences. When state.population's best (position
// 0, the population being in makespan order) is strictly better than every child, it stays at
// position 0 and the last child of that order is dropped. Draws nothing and evaluates nothing.
void replaceGenerationally(RunState& state, MakespanOrder& scratch);

}  // namespace jobshop
