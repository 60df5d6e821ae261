// Offspring generation: every parent pair of the mating pool becomes two children, crossed or
// copied, each possibly mutated, with every new child evaluated and counted.
#pragma once

#include "input/parameters.h"
#include "model/population.h"
#include "model/run_state.h"
#include "variation/variation_scratch.h"

namespace jobshop {

// One draw of randomBelow(101); true when it is at most percent (so 0 still passes one time in
// 101, 100 or more always passes, a negative percent never does).
template <class Random>
bool passesPercentage(int percent, Random& random);

// Runs every enabled crossover on the two parents in the fixed order segmentFill, segmentInsert,
// precedence, maskKeep, cycle, segmentWrap, maskReorder; each consumes its draws and overwrites
// children 2*pair-2 and 2*pair-1 (pair 1-based), so the last enabled one's children remain. With
// no crossover enabled it draws nothing and writes nothing.
template <class Random>
void applyCrossovers(Population& offspring, const Parameters& parameters, const float* parent1,
                     const float* parent2, int pair, Random& random, VariationScratch& scratch);

// Runs every enabled mutation on child k in the fixed order scramble, swap, insertion,
// neighbourSwap, all from the same mutationBuffer (which holds child k's genes on entry): scramble
// and swap changes accumulate, while an insertion survives only when neighbourSwap is disabled.
template <class Random>
void applyMutations(Population& offspring, const Parameters& parameters, float* mutationBuffer,
                    int k, Random& random, VariationScratch& scratch);

// Turns pair i = 1..N/2 of state.matingPool (positions i-1 and N/2+i-1) into offspring rows 2i-2
// and 2i-1, drawing from random as it stands (the generation cycle reseeds it first). Per pair it
// draws the crossover test, the crossover draws of a crossed pair, then per child the mutation test
// and its mutation draws. Crossed children are always evaluated (+2 to evaluationCount); copied
// children carry their parent's makespan unless mutated, in which case they are evaluated (+1
// each). No row of state.offspring beyond 2*(N/2)-1 is written and only the pool's first 2*(N/2)
// rows are read. Every child written also gets its machine sequences in state.offspringSequences.
// Asks stop before each pair and returns false as soon as it answers yes (the pairs before it made
// and counted); true when every pair is made.
template <class Random, class Stop>
bool generateOffspring(RunState& state, Random& random, Stop& stop, VariationScratch& scratch);

}  // namespace jobshop
