// The three steps of a generation and the giving up of one that a stop cut short.
#include "evolution/generation.h"

#include <cstdint>

#include "model/random_source.h"
#include "model/scripted_random.h"
#include "support/scripted_stop.h"
#include "variation/offspring.h"

namespace jobshop {

template <class Random, class Stop>
bool advanceGeneration(RunState& state, Random& random, Stop& stop, SelectionScratch& selection,
                       VariationScratch& variation, ReplacementScratch& replacement) {
  // Selection and offspring generation leave the population alone and replacement undoes its own
  // writes, so only the count the offspring added needs putting back.
  const std::int64_t evaluationsBefore = state.evaluationCount;
  if (selectMates(state, random, stop, selection) &&
      generateOffspring(state, random, stop, variation) &&
      replaceByCrowding(state, random, stop, replacement))
    return true;
  state.evaluationCount = evaluationsBefore;
  return false;
}

template bool advanceGeneration(RunState&, RandomSource&, StopCondition&, SelectionScratch&,
                                VariationScratch&, ReplacementScratch&);
template bool advanceGeneration(RunState&, detail::ScriptedRandom&, StopCondition&,
                                SelectionScratch&, VariationScratch&, ReplacementScratch&);
template bool advanceGeneration(RunState&, RandomSource&, detail::ScriptedStop&, SelectionScratch&,
                                VariationScratch&, ReplacementScratch&);

}  // namespace jobshop
