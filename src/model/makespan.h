// Decoding a chromosome left to right into its semi-active schedule and returning the makespan.
#pragma once

#include <vector>

#include "input/instance.h"
#include "model/population.h"

// Per-job and per-machine working arrays of the decoder, kept between calls so that evaluating
// allocates nothing.
struct MakespanScratch {
  std::vector<int> opCount;
  std::vector<float> jobReady;
  std::vector<float> machineReady;
  std::vector<float> jobEnd;
};

// Makespan of the L genes at `genes`: each operation starts when both its job and its machine are
// free, in chromosome order, never in an earlier idle gap. Does not store or count anything.
float evaluateMakespan(const float* genes, const Instance& instance, MakespanScratch& scratch);

// The same for individual number i (1-based) of pop.
inline float evaluateMakespan(const Population& pop, const Instance& instance, int i,
                              MakespanScratch& scratch) {
  return evaluateMakespan(pop.genes(i - 1), instance, scratch);
}
