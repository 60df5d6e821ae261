// Field access by index over the one Parameters layout.
#include "input/parameter_fields.h"

namespace jobshop {

const char* const kParameterFieldNames[kParameterFieldCount] = {"populationSize",
                                                                "maxEvaluations",
                                                                "runCount",
                                                                "crossoverPercent",
                                                                "mutationPercent",
                                                                "scrambleMutationEnabled",
                                                                "insertionMutationEnabled",
                                                                "swapMutationEnabled",
                                                                "neighbourSwapMutationEnabled",
                                                                "segmentWrapCrossoverEnabled",
                                                                "cycleCrossoverEnabled",
                                                                "segmentFillCrossoverEnabled",
                                                                "maskKeepCrossoverEnabled",
                                                                "maskReorderCrossoverEnabled",
                                                                "segmentInsertCrossoverEnabled",
                                                                "precedenceCrossoverEnabled",
                                                                "mateCandidates",
                                                                "crowdingGroups",
                                                                "crowdingGroupSize"};

namespace {

struct FieldRef {
  int* number = nullptr;
  bool* flag = nullptr;
};

FieldRef fieldRef(Parameters& p, int field) {
  switch (field) {
    case 0:
      return {&p.populationSize};
    case 1:
      return {&p.maxEvaluations};
    case 2:
      return {&p.runCount};
    case 3:
      return {&p.crossoverPercent};
    case 4:
      return {&p.mutationPercent};
    case 5:
      return {nullptr, &p.scrambleMutationEnabled};
    case 6:
      return {nullptr, &p.insertionMutationEnabled};
    case 7:
      return {nullptr, &p.swapMutationEnabled};
    case 8:
      return {nullptr, &p.neighbourSwapMutationEnabled};
    case 9:
      return {nullptr, &p.segmentWrapCrossoverEnabled};
    case 10:
      return {nullptr, &p.cycleCrossoverEnabled};
    case 11:
      return {nullptr, &p.segmentFillCrossoverEnabled};
    case 12:
      return {nullptr, &p.maskKeepCrossoverEnabled};
    case 13:
      return {nullptr, &p.maskReorderCrossoverEnabled};
    case 14:
      return {nullptr, &p.segmentInsertCrossoverEnabled};
    case 15:
      return {nullptr, &p.precedenceCrossoverEnabled};
    case 16:
      return {&p.mateCandidates};
    case 17:
      return {&p.crowdingGroups};
    default:
      return {&p.crowdingGroupSize};
  }
}

}  // namespace

int parameterField(const Parameters& parameters, int field) {
  const FieldRef ref = fieldRef(const_cast<Parameters&>(parameters), field);
  return ref.number != nullptr ? *ref.number : (*ref.flag ? 1 : 0);
}

void setParameterField(Parameters& parameters, int field, int value) {
  const FieldRef ref = fieldRef(parameters, field);
  if (ref.number != nullptr)
    *ref.number = value;
  else
    *ref.flag = value == 1;
}

}  // namespace jobshop
