// Default parameters and their "D_Algoritmo.txt" text, labelled with the field names so that a
// user editing the file sees what each value is.
#include "input/parameter_template.h"

#include "input/parameter_table.h"

namespace jobshop {

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

std::string formatParameterFile(const Parameters& parameters) {
  std::string text;
  for (const ParameterField& field : kParameterFields) {
    text += field.name;
    text += '\n';
    text += std::to_string(field.valueIn(parameters));
    text += '\n';
  }
  return text;
}

}  // namespace jobshop
