// The algorithm parameters read from "D_Algoritmo.txt" (input/parameter_table.h gives their order
// in the file, names and kinds), and the niching method the command line chose.
#pragma once

#include "input/niching_settings.h"

namespace jobshop {

struct Parameters {
  int populationSize = 0;
  int maxEvaluations = 0;
  int runCount = 0;
  int crossoverPercent = 0;
  int mutationPercent = 0;
  bool scrambleMutationEnabled = false;
  bool insertionMutationEnabled = false;
  bool swapMutationEnabled = false;
  bool neighbourSwapMutationEnabled = false;
  bool segmentWrapCrossoverEnabled = false;
  bool cycleCrossoverEnabled = false;
  bool segmentFillCrossoverEnabled = false;
  bool maskKeepCrossoverEnabled = false;
  bool maskReorderCrossoverEnabled = false;
  bool segmentInsertCrossoverEnabled = false;
  bool precedenceCrossoverEnabled = false;
  int mateCandidates = 0;
  int crowdingGroups = 0;
  int crowdingGroupSize = 0;
  // Not a field of the file: the method comes from the command line or the campaign.
  NichingSettings niching;
};

}  // namespace jobshop
