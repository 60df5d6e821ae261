// Explicit instantiations of the program's steps for the tests' scripted draw source and stop.
// The tests replay chosen draws, and stops at chosen looks, through the very code the program runs;
// keeping these instantiations here, in one list, leaves the program's own files instantiating only
// the types the program uses.
#include "evolution/generation_cycle_impl.h"
#include "model/initialisation_impl.h"
#include "model/random_source.h"
#include "niching/clearing_impl.h"
#include "niching/crowding_replacement_impl.h"
#include "niching/crowding_selection_impl.h"
#include "niching/deterministic_crowding_impl.h"
#include "niching/no_niching_impl.h"
#include "niching/restricted_tournament_impl.h"
#include "niching/sharing_impl.h"
#include "scripted_random.h"
#include "scripted_stop.h"
#include "support/stop_condition.h"
#include "variation/cycle_crossover_impl.h"
#include "variation/mask_crossovers_impl.h"
#include "variation/mutations_impl.h"
#include "variation/offspring_impl.h"
#include "variation/segment_crossovers_impl.h"

namespace jobshop {

// The offspring step for the program's draws and a scripted stop calls these: declared here, they
// stay the program's own instantiations instead of copies this file would make of them.
extern template bool passesPercentage(int, RandomSource&);
extern template void applyCrossovers(Population&, const Parameters&, const float*, const float*,
                                     int, RandomSource&, VariationScratch&);
extern template void applyMutations(Population&, const Parameters&, float*, int, RandomSource&,
                                    VariationScratch&);

template void initialisePopulation(Population&, const Instance&, detail::ScriptedRandom&);
template void scrambleMutation(Population&, float*, int, detail::ScriptedRandom&,
                               VariationScratch&);
template void swapMutation(Population&, float*, int, detail::ScriptedRandom&, VariationScratch&);
template void insertionMutation(Population&, float*, int, detail::ScriptedRandom&,
                                VariationScratch&);
template void neighbourSwapMutation(Population&, float*, int, detail::ScriptedRandom&,
                                    VariationScratch&);
template void precedenceCrossover(Population&, const float*, const float*, int,
                                  detail::ScriptedRandom&, VariationScratch&);
template void maskKeepCrossover(Population&, const float*, const float*, int,
                                detail::ScriptedRandom&, VariationScratch&);
template void maskReorderCrossover(Population&, const float*, const float*, int,
                                   detail::ScriptedRandom&, VariationScratch&);
template void segmentFillCrossover(Population&, const float*, const float*, int,
                                   detail::ScriptedRandom&, VariationScratch&);
template void segmentInsertCrossover(Population&, const float*, const float*, int,
                                     detail::ScriptedRandom&, VariationScratch&);
template void segmentWrapCrossover(Population&, const float*, const float*, int,
                                   detail::ScriptedRandom&, VariationScratch&);
template void cycleCrossover(Population&, const float*, const float*, int, detail::ScriptedRandom&,
                             VariationScratch&);
template bool passesPercentage(int, detail::ScriptedRandom&);
template void applyCrossovers(Population&, const Parameters&, const float*, const float*, int,
                              detail::ScriptedRandom&, VariationScratch&);
template void applyMutations(Population&, const Parameters&, float*, int, detail::ScriptedRandom&,
                             VariationScratch&);
template bool generateOffspring(RunState&, detail::ScriptedRandom&, StopCondition&,
                                VariationScratch&);
template bool generateOffspring(RunState&, RandomSource&, detail::ScriptedStop&, VariationScratch&);
template bool generateOffspring(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&,
                                VariationScratch&);
template bool selectMates(RunState&, detail::ScriptedRandom&, StopCondition&, SelectionScratch&);
template bool selectMates(RunState&, RandomSource&, detail::ScriptedStop&, SelectionScratch&);
template bool selectMates(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&,
                          SelectionScratch&);
template bool replaceByCrowding(RunState&, detail::ScriptedRandom&, StopCondition&,
                                ReplacementScratch&);
template bool replaceByCrowding(RunState&, RandomSource&, detail::ScriptedStop&,
                                ReplacementScratch&);
template bool replaceByCrowding(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&,
                                ReplacementScratch&);
template bool selectShuffledPairs(RunState&, detail::ScriptedRandom&, StopCondition&,
                                  DeterministicCrowdingScratch&);
template bool selectShuffledPairs(RunState&, RandomSource&, detail::ScriptedStop&,
                                  DeterministicCrowdingScratch&);
template bool selectShuffledPairs(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&,
                                  DeterministicCrowdingScratch&);
template bool replaceNearerParents(RunState&, detail::ScriptedStop&, DeterministicCrowdingScratch&);
template bool selectUniformly(RunState&, detail::ScriptedRandom&, StopCondition&);
template bool selectUniformly(RunState&, RandomSource&, detail::ScriptedStop&);
template bool selectUniformly(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&);
template bool replaceInRestrictedTournaments(RunState&, detail::ScriptedRandom&, StopCondition&,
                                             RestrictedTournamentScratch&);
template bool replaceInRestrictedTournaments(RunState&, RandomSource&, detail::ScriptedStop&,
                                             RestrictedTournamentScratch&);
template bool replaceInRestrictedTournaments(RunState&, detail::ScriptedRandom&,
                                             detail::ScriptedStop&, RestrictedTournamentScratch&);
template bool selectByClearedTournament(RunState&, detail::ScriptedRandom&, StopCondition&,
                                        ClearingScratch&);
template bool selectByClearedTournament(RunState&, RandomSource&, detail::ScriptedStop&,
                                        ClearingScratch&);
template bool selectByClearedTournament(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&,
                                        ClearingScratch&);
template bool replaceByClearing(RunState&, detail::ScriptedStop&, ClearingScratch&);
template bool selectBySharedFitness(RunState&, detail::ScriptedRandom&, StopCondition&,
                                    SharedFitness&);
template bool selectBySharedFitness(RunState&, RandomSource&, detail::ScriptedStop&,
                                    SharedFitness&);
template bool selectBySharedFitness(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&,
                                    SharedFitness&);
template bool selectByMakespanTournament(RunState&, detail::ScriptedRandom&, StopCondition&);
template bool selectByMakespanTournament(RunState&, RandomSource&, detail::ScriptedStop&);
template bool selectByMakespanTournament(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&);
template bool advanceGeneration(RunState&, detail::ScriptedRandom&, StopCondition&, NichingScheme&,
                                VariationScratch&);
template bool advanceGeneration(RunState&, RandomSource&, detail::ScriptedStop&, NichingScheme&,
                                VariationScratch&);
template bool advanceGeneration(RunState&, detail::ScriptedRandom&, detail::ScriptedStop&,
                                NichingScheme&, VariationScratch&);

}  // namespace jobshop
