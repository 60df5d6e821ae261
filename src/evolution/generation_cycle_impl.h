// The steps of a generation in their order and the giving up of one that a stop cut short.
// Only the files that instantiate these templates include this header: the program's own in
// generation_cycle.cpp and the tests' for their scripted draws. The helpers keep the internal
// linkage they had in the .cpp, so each of those files compiles its own copy, as before.
#pragma once

#include <cstdint>

#include "evolution/generation_cycle.h"
#include "model/clock.h"
#include "variation/offspring.h"

namespace jobshop {

namespace {

template <class Scheme, class Random, class Stop>
bool runSteps(RunState& state, Random& random, Stop& stop, Scheme& scheme,
              VariationScratch& variation) {
  if (!scheme.select(state, random, stop)) return false;
  // Every generation's offspring start from a fresh seed; selection draws from the previous one.
  reseedFromClock(random, state.clock);
  return generateOffspring(state, random, stop, variation) && scheme.replace(state, random, stop);
}

}  // namespace

template <class Random, class Stop>
bool advanceGeneration(RunState& state, Random& random, Stop& stop, NichingScheme& niching,
                       VariationScratch& variation) {
  // Selection and offspring generation leave the population alone and replacement undoes its own
  // writes, so only the count the offspring added needs putting back.
  const std::int64_t evaluationsBefore = state.evaluationCount;
  const bool complete = std::visit(
      [&](auto& scheme) { return runSteps(state, random, stop, scheme, variation); }, niching);
  if (!complete) state.evaluationCount = evaluationsBefore;
  return complete;
}

}  // namespace jobshop
