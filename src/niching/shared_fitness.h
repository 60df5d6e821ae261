// Fitness sharing: each schedule's fitness divided by how crowded its neighbourhood is.
#pragma once

#include <vector>

#include "model/population.h"
#include "model/sequence_table.h"

namespace jobshop {

struct SharedFitness {
  std::vector<double> nicheCounts;  // sum_j sh(d_ij), itself included
  std::vector<double> values;       // the shared fitness of each member
};

// sh(d) = 1 - (d / sigma)^alpha for d < sigma, 0 from sigma on (so 0 for every d when sigma < 1).
double sharingFunction(int distance, int sigma, double alpha);

// Sets every niche count to 1, each member's share with itself (sh(0) = 1).
void startNicheCounts(int n, SharedFitness& shared);

// Adds sh(d_ij) to the counts of both i and j for every j after i; the caller goes through every
// i, so that each pair is counted once for each of its two members.
void addSharesOf(int i, const SequenceTable& sequences, int n, int sigma, double alpha,
                 SharedFitness& shared);

// values[i] = (worst makespan - makespan_i + 1) / nicheCounts[i] over the first n members.
void finishSharedFitness(const Population& population, int n, SharedFitness& shared);

}  // namespace jobshop
