// Working storage of offspring generation and of the variation operators, sized for one problem
// and reused by every call so that producing children allocates nothing once it has run.
#pragma once

#include <cstddef>
#include <vector>

#include "model/makespan.h"
#include "variation/operation_index.h"
#include "variation/ranked_pool.h"

namespace jobshop {

struct VariationScratch {
  // Owned by generateOffspring: the genes of the child being mutated.
  std::vector<float> mutationBuffer;
  // Operation numbers of the first and second parent (or donor and filler) of a crossover.
  OperationIndex index1;
  OperationIndex index2;
  std::vector<unsigned char> mask;   // one bit per position, mask crossovers
  std::vector<unsigned char> flags;  // one per operation number: kept, selected or in the segment
  std::vector<unsigned char> otherFlags;  // the same for the second child, where both are built
  std::vector<int> usedUpTo;      // per job, the precedence crossover's next operation number
  std::vector<float> genes;       // remainder, selected genes, shuffle pool or moved string
  std::vector<float> otherGenes;  // the second child's selected genes
  RankedPool pool;                // the scramble's untaken segment genes
  MakespanScratch makespan;
};

}  // namespace jobshop
