// The three steps of a generation and the giving up of one that a stop cut short.
#include "evolution/generation.h"

#include <cstdint>

#include "model/random_source.h"
#include "model/scripted_random.h"
#include "variation/offspring.h"

namespace jobshop {

template <class Random>
bool advanceGeneration(RunState& state, Random& random, SelectionScratch& selection,
                       VariationScratch& variation, ReplacementScratch& replacement) {
  // Selection and offspring generation leave the population alone and replacement undoes its own
  // writes, so only the count the offspring added needs putting back.
  const std::int64_t evaluationsBefore = state.evaluationCount;
  if (selectMates(state, random, selection) && generateOffspring(state, random, variation) &&
      replaceByCrowding(state, random, replacement))
    return true;
  state.evaluationCount = evaluationsBefore;
  return false;
}

template bool advanceGeneration(RunState&, RandomSource&, SelectionScratch&, VariationScratch&,
                                ReplacementScratch&);
template bool advanceGeneration(RunState&, detail::ScriptedRandom&, SelectionScratch&,
                                VariationScratch&, ReplacementScratch&);

}  // namespace jobshop
