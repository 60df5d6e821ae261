// Pairing, the probability tests, the two dispatchers and the evaluation accounting of a
// generation's children.
// Only the files that instantiate these templates include this header: the program's own in
// offspring.cpp and the tests' for their scripted draws. The helpers keep the internal linkage
// they had in the .cpp, so each of those files compiles its own copy, as before.
#pragma once

#include <algorithm>

#include "model/makespan.h"
#include "variation/cycle_crossover.h"
#include "variation/mask_crossovers.h"
#include "variation/mutations.h"
#include "variation/offspring.h"
#include "variation/segment_crossovers.h"

namespace jobshop {

namespace {

void copyGenes(const Population& source, int from, std::vector<float>& buffer) {
  const float* genes = source.genes(from);
  std::copy(genes, genes + source.geneCount, buffer.begin());
}

// The crossover slots in dispatch order, and how many draws of which bound each one makes.
enum CrossoverSlot { kFill, kInsert, kPrecedence, kMaskKeep, kCycle, kWrap, kMaskReorder, kSlots };

// The flag of each slot; the slots run in an order of their own, not the parameter file's.
constexpr bool Parameters::*kSlotFlags[kSlots] = {
    &Parameters::segmentFillCrossoverEnabled, &Parameters::segmentInsertCrossoverEnabled,
    &Parameters::precedenceCrossoverEnabled,  &Parameters::maskKeepCrossoverEnabled,
    &Parameters::cycleCrossoverEnabled,       &Parameters::segmentWrapCrossoverEnabled,
    &Parameters::maskReorderCrossoverEnabled};

template <class Random>
void skipCrossoverDraws(int slot, int geneCount, Random& random) {
  switch (slot) {
    case kPrecedence:
    case kMaskKeep:
      random.skipDraws(2, geneCount);  // one mask bit per position
      break;
    case kCycle:
      random.skipDraws(geneCount, 1);  // the start position
      break;
    default:
      random.skipDraws(geneCount, 2);  // the two cut points
  }
}

template <class Random>
void runCrossover(int slot, Population& offspring, const float* parent1, const float* parent2,
                  int pair, Random& random, VariationScratch& scratch) {
  switch (slot) {
    case kFill:
      return segmentFillCrossover(offspring, parent1, parent2, pair, random, scratch);
    case kInsert:
      return segmentInsertCrossover(offspring, parent1, parent2, pair, random, scratch);
    case kPrecedence:
      return precedenceCrossover(offspring, parent1, parent2, pair, random, scratch);
    case kMaskKeep:
      return maskKeepCrossover(offspring, parent1, parent2, pair, random, scratch);
    case kCycle:
      return cycleCrossover(offspring, parent1, parent2, pair, random, scratch);
    case kWrap:
      return segmentWrapCrossover(offspring, parent1, parent2, pair, random, scratch);
    default:
      return maskReorderCrossover(offspring, parent1, parent2, pair, random, scratch);
  }
}

}  // namespace

template <class Random>
bool passesPercentage(int percent, Random& random) {
  return random.randomBelow(101) <= percent;
}

// Every enabled crossover runs in slot order and overwrites both children whole, reading nothing
// of them, so only the last enabled one decides the children. The earlier ones are not computed:
// the random source is advanced by exactly the draws they make, which leaves every later draw and
// every child as they would be.
template <class Random>
void applyCrossovers(Population& offspring, const Parameters& parameters, const float* parent1,
                     const float* parent2, int pair, Random& random, VariationScratch& scratch) {
  auto enabled = [&parameters](int slot) { return parameters.*kSlotFlags[slot]; };
  int last = -1;
  for (int slot = 0; slot < kSlots; ++slot)
    if (enabled(slot)) last = slot;
  for (int slot = 0; slot < last; ++slot)
    if (enabled(slot)) skipCrossoverDraws(slot, offspring.geneCount, random);
  if (last >= 0) runCrossover(last, offspring, parent1, parent2, pair, random, scratch);
}

template <class Random>
void applyMutations(Population& offspring, const Parameters& parameters, float* mutationBuffer,
                    int k, Random& random, VariationScratch& scratch) {
  if (parameters.scrambleMutationEnabled) {
    scrambleMutation(offspring, mutationBuffer, k, random, scratch);
  }
  if (parameters.swapMutationEnabled) swapMutation(offspring, mutationBuffer, k, random, scratch);
  // Insertion leaves the buffer as it was, so a following neighbour swap overwrites its move:
  // then only its two draws matter.
  if (parameters.insertionMutationEnabled) {
    if (parameters.neighbourSwapMutationEnabled)
      random.skipDraws(offspring.geneCount, 2);
    else
      insertionMutation(offspring, mutationBuffer, k, random, scratch);
  }
  if (parameters.neighbourSwapMutationEnabled) {
    neighbourSwapMutation(offspring, mutationBuffer, k, random, scratch);
  }
}

template <class Random, class Stop>
bool generateOffspring(RunState& state, Random& random, Stop& stop, VariationScratch& scratch) {
  const Parameters& parameters = state.parameters;
  Population& pool = state.matingPool;
  Population& offspring = state.offspring;
  scratch.mutationBuffer.resize(static_cast<size_t>(offspring.geneCount));
  prepareMakespan(state.instance, scratch.makespan);
  const int half = pool.size / 2;
  // An odd pool leaves its last position unread and the last child slot unwritten.
  const int pairs = std::min(half, offspring.size / 2);

  const auto mutateChild = [&](int child) {
    if (!passesPercentage(parameters.mutationPercent, random)) return false;
    copyGenes(offspring, child, scratch.mutationBuffer);
    applyMutations(offspring, parameters, scratch.mutationBuffer.data(), child, random, scratch);
    return true;
  };
  SequenceTable& sequences = state.offspringSequences;
  sequences.resize(offspring.size, offspring.geneCount, state.instance.jobs);
  const auto evaluate = [&](int child) {
    offspring.fitness(child) = evaluatePreparedMakespan(offspring.genes(child), scratch.makespan,
                                                        sequences.row(child), sequences.cellBytes);
  };

  for (int i = 1; i <= pairs; ++i) {
    if (stop.stopRequested()) return false;
    const int first = 2 * i - 2;
    const int second = 2 * i - 1;
    if (passesPercentage(parameters.crossoverPercent, random)) {
      state.evaluationCount += 2;
      // The crossovers only read their parents and write only offspring, so they read the pool's
      // rows in place instead of copies of them.
      applyCrossovers(offspring, parameters, pool.genes(i - 1), pool.genes(half + i - 1), i, random,
                      scratch);
      mutateChild(first);
      mutateChild(second);
      evaluate(first);
      evaluate(second);
    } else {
      copyIndividual(pool, i - 1, offspring, first);
      copyIndividual(pool, half + i - 1, offspring, second);
      copySequenceRow(state.matingPoolSequences, i - 1, sequences, first);
      copySequenceRow(state.matingPoolSequences, half + i - 1, sequences, second);
      for (const int child : {first, second}) {
        if (!mutateChild(child)) continue;
        state.evaluationCount += 1;
        evaluate(child);
      }
    }
  }
  return true;
}

}  // namespace jobshop
