// Default parameters and their "D_Algoritmo.txt" text, labelled with the field names so that a
// user editing the file sees what each value is.
#include "input/parameter_template.h"

#include <utility>
#include <vector>

Parameters defaultParameters() {
  Parameters parameters;
  parameters.populationSize = 100;
  parameters.maxEvaluations = 20000;
  parameters.runCount = 10;
  parameters.crossoverPercent = 80;
  parameters.mutationPercent = 20;
  parameters.insertionMutationEnabled = true;
  parameters.swapMutationEnabled = true;
  parameters.segmentFillCrossoverEnabled = true;
  parameters.mateCandidates = 4;
  parameters.crowdingGroups = 4;
  parameters.crowdingGroupSize = 10;
  return parameters;
}

std::string formatParameterFile(const Parameters& p) {
  const std::vector<std::pair<const char*, int>> pairs = {
      {"populationSize", p.populationSize},
      {"maxEvaluations", p.maxEvaluations},
      {"runCount", p.runCount},
      {"crossoverPercent", p.crossoverPercent},
      {"mutationPercent", p.mutationPercent},
      {"scrambleMutationEnabled", p.scrambleMutationEnabled},
      {"insertionMutationEnabled", p.insertionMutationEnabled},
      {"swapMutationEnabled", p.swapMutationEnabled},
      {"neighbourSwapMutationEnabled", p.neighbourSwapMutationEnabled},
      {"segmentWrapCrossoverEnabled", p.segmentWrapCrossoverEnabled},
      {"cycleCrossoverEnabled", p.cycleCrossoverEnabled},
      {"segmentFillCrossoverEnabled", p.segmentFillCrossoverEnabled},
      {"maskKeepCrossoverEnabled", p.maskKeepCrossoverEnabled},
      {"maskReorderCrossoverEnabled", p.maskReorderCrossoverEnabled},
      {"segmentInsertCrossoverEnabled", p.segmentInsertCrossoverEnabled},
      {"precedenceCrossoverEnabled", p.precedenceCrossoverEnabled},
      {"mateCandidates", p.mateCandidates},
      {"crowdingGroups", p.crowdingGroups},
      {"crowdingGroupSize", p.crowdingGroupSize},
  };
  std::string text;
  for (const auto& [label, value] : pairs) {
    text += label;
    text += '\n';
    text += std::to_string(value);
    text += '\n';
  }
  return text;
}
