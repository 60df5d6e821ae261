// The stable ordering of a population by makespan.
#pragma once

#include "model/population.h"

namespace jobshop {

// Sorts values[0..n) ascending, applying every move to indices alongside; equal values keep their
// relative order. Insertion sort up to 1,024 values, a merge sort above (the same order, in
// n log n time).
void sortByFitness(int* indices, float* values, int n);

// Rebuilds pop in ascending makespan order (stable), using `copy` as the aside buffer.
void orderByFitness(Population& pop, Population& copy);

}  // namespace jobshop
