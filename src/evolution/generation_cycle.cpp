// The steps of a generation in their order and the giving up of one that a stop cut short.
#include "evolution/generation_cycle.h"

#include <cstdint>

#include "model/clock.h"
#include "model/random_source.h"
#include "model/scripted_random.h"
#include "support/scripted_stop.h"
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

template bool advanceGeneration(RunState&, RandomSource&, StopCondition&, NichingScheme&,
                                VariationScratch&);
template bool advanceGeneration(RunState&, detail::ScriptedRandom&, StopCondition&, NichingScheme&,
                                VariationScratch&);
template bool advanceGeneration(RunState&, RandomSource&, detail::ScriptedStop&, NichingScheme&,
                                VariationScratch&);
template bool advanceGeneration(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&,
                                NichingScheme&, VariationScratch&);

}  // namespace jobshop
