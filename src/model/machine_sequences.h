// Machine sequences: the order in which every machine processes the jobs, and the distance between
// two schedules as the number of (machine, position) cells whose jobs differ.
#pragma once

#include <cstdint>
#include <vector>

#include "input/instance.h"

namespace jobshop {

// Working arrays of the decoder and the two decoded rows of a distance, kept between calls.
struct SequenceScratch {
  std::vector<int> opCount;
  std::vector<int> fill;
  std::vector<float> first;
  std::vector<float> second;
};

// Fills out[0..L) with the machine sequences of the L genes at `genes`: cell (m-1)*J + p holds the
// job processed (p+1)-th on machine m. Any other genes or routing never lead outside the L cells.
void decodeMachineSequences(const float* genes, const Instance& instance, float* out,
                            SequenceScratch& scratch);

// The same cells written into a row of cellBytes-wide cells (1 or 2), as a SequenceTable keeps
// them; the row's padding is left as it is.
void decodeSequenceRow(const float* genes, const Instance& instance, int cellBytes,
                       std::uint8_t* row, SequenceScratch& scratch);

// Number of cells (0..L) in which the machine sequences of the two chromosomes differ; 0 exactly
// when both have the same machine orders. Decodes both afresh.
int scheduleDistance(const float* genesA, const float* genesB, const Instance& instance,
                     SequenceScratch& scratch);

}  // namespace jobshop
