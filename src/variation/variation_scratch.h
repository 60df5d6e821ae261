// Working storage of offspring generation and of the variation operators, sized for one problem
// and reused by every call so that producing children allocates nothing once it has run.
#pragma once

#include <cstddef>
#include <vector>

#include "model/makespan.h"
#include "variation/operation_index.h"

struct VariationScratch {
  // Owned by generateOffspring: the genes of the pair's two parents and of the child being mutated.
  std::vector<float> parent1;
  std::vector<float> parent2;
  std::vector<float> mutationBuffer;
  // Occurrence indexes of the first and second parent (or donor and filler) of a crossover.
  OperationIndex index1;
  OperationIndex index2;
  std::vector<int> mask;              // one bit per position, mask crossovers
  std::vector<unsigned char> marks1;  // per position of the first parent (or of the filler)
  std::vector<unsigned char> marks2;  // per position of the second parent
  std::vector<int> taken1;            // per job, genes of the first parent used so far
  std::vector<int> taken2;            // per job, genes of the second parent used so far
  std::vector<float> genes;           // remainder, selected genes, shuffle pool or moved string
  std::vector<float> order;           // the new order of a shuffled segment
  MakespanScratch makespan;
};

// Sizes every array of scratch for chromosomes of geneCount genes over `jobs` jobs, so that even
// the first call allocates nothing. Optional: every user grows what it needs on its own.
inline void reserveVariationScratch(VariationScratch& scratch, int jobs, int geneCount) {
  const std::size_t genes = static_cast<size_t>(geneCount);
  const std::size_t jobEntries = static_cast<size_t>(jobs) + 1;
  for (std::vector<float>* v : {&scratch.parent1, &scratch.parent2, &scratch.mutationBuffer,
                                &scratch.genes, &scratch.order}) {
    v->resize(genes);
  }
  for (OperationIndex* index : {&scratch.index1, &scratch.index2}) {
    index->counts.resize(jobEntries);
    index->firstSlot.resize(jobEntries + 1);
    index->position.resize(genes);
    index->occurrence.resize(genes);
  }
  scratch.mask.resize(genes);
  scratch.marks1.resize(genes);
  scratch.marks2.resize(genes);
  scratch.taken1.resize(jobEntries);
  scratch.taken2.resize(jobEntries);
}
