// Random initial chromosomes: every position a uniform choice among the jobs with operations left.
#pragma once

#include "input/instance.h"
#include "model/population.h"

namespace jobshop {

// Overwrites the genes of every individual of pop with a random valid chromosome (each job exactly
// M times), drawing randomBelow(J + 1) per attempt and rejecting 0 and jobs already complete.
// Fitness slots are left as they are.
template <class Random>
void initialisePopulation(Population& pop, const Instance& instance, Random& random);

}  // namespace jobshop
