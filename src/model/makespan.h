// Decoding a chromosome left to right into its semi-active schedule and returning the makespan.
#pragma once

#include <cstdint>
#include <vector>

#include "input/instance.h"
#include "model/population.h"

namespace jobshop {

// One operation as the decoder needs it: the machine (0-based) and the processing time as the
// float that is added to the start time.
struct DecoderOperation {
  int machine = 0;
  float time = 0.0f;
};

// A job while its chromosome is decoded: the table index of its next operation and the end of its
// last placed one. Kept together because every step reads and writes both.
struct DecoderJob {
  int nextOperation = 0;
  float ready = 0.0f;
};

// A machine while a chromosome is decoded: the end of its last placed operation and the sequence
// cell its next operation fills.
struct DecoderMachine {
  float ready = 0.0f;
  int cell = 0;
};

// The instance's operations in decoding order and the decoder's per-job and per-machine working
// arrays, kept between calls so that evaluating allocates nothing and converts nothing.
struct MakespanScratch {
  // The instance the tables describe; a different one makes prepareMakespan rebuild them.
  int jobs = -1;
  int machines = -1;
  std::vector<int> sourceTimes;
  std::vector<int> sourceRouting;
  // Job j's operation o (both 0-based) at j * M + o, then L entries that only an invalid chromosome
  // (a job with more than M genes) reaches.
  std::vector<DecoderOperation> operations;
  std::vector<DecoderJob> jobState;          // per job slot 1..J
  std::vector<DecoderMachine> machineState;  // per machine 0..M-1
  std::vector<int> jobSlots;                 // per gene, its job number kept within 1..J
};

// Makes scratch describe instance, rebuilding its tables only when the instance's jobs, machines,
// times or routing differ from those it was built for.
void prepareMakespan(const Instance& instance, MakespanScratch& scratch);

// Makespan of the L genes at `genes` for the instance scratch was last prepared for: each operation
// starts when both its job and its machine are free, in chromosome order, never in an earlier idle
// gap. Does not store or count anything. Genes outside 1..J never lead outside the tables.
float evaluatePreparedMakespan(const float* genes, MakespanScratch& scratch);

// The same makespan, and from the same pass the chromosome's machine sequences, written into the
// sequence row `row` of cellBytes-wide cells (1 or 2) as decodeSequenceRow writes them for a
// valid chromosome.
float evaluatePreparedMakespan(const float* genes, MakespanScratch& scratch, std::uint8_t* row,
                               int cellBytes);

// The same for any instance (prepares scratch for it first).
inline float evaluateMakespan(const float* genes, const Instance& instance,
                              MakespanScratch& scratch) {
  prepareMakespan(instance, scratch);
  return evaluatePreparedMakespan(genes, scratch);
}

// The same for individual number i (1-based) of pop.
inline float evaluateMakespan(const Population& pop, const Instance& instance, int i,
                              MakespanScratch& scratch) {
  return evaluateMakespan(pop.genes(i - 1), instance, scratch);
}

}  // namespace jobshop
