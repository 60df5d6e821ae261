// The one description of the algorithm parameters: their order in "D_Algoritmo.txt", their names,
// what kind of value each holds and where it lives in Parameters. Everything that handles every
// field alike (the parameter file, the execution record, grids, manifests, tables) goes through it.
#pragma once

#include <array>
#include <cstddef>

#include "input/parameters.h"

namespace jobshop {

enum class ParameterKind {
  kCount,       // a number of things: individuals, evaluations, runs, candidates, groups
  kPercentage,  // the chance of a variation, in percent
  kMutation,    // a flag enabling one mutation
  kCrossover,   // a flag enabling one crossover
};

struct ParameterField {
  const char* name;   // the file's label line and the record's key
  const char* label;  // the short label of campaign setting names
  ParameterKind kind;
  int Parameters::*number = nullptr;  // counts and percentages
  bool Parameters::*flag = nullptr;   // mutations and crossovers

  bool isFlag() const { return flag != nullptr; }
  // The value as the file writes it: flags as 1 or 0.
  int valueIn(const Parameters& parameters) const {
    return isFlag() ? (parameters.*flag ? 1 : 0) : parameters.*number;
  }
  // A flag is set exactly by 1, as the file reads it.
  void setIn(Parameters& parameters, int value) const {
    if (isFlag())
      parameters.*flag = value == 1;
    else
      parameters.*number = value;
  }
};

inline constexpr std::array<ParameterField, 19> kParameterFields{{
    {"populationSize", "N", ParameterKind::kCount, &Parameters::populationSize},
    {"maxEvaluations", "E", ParameterKind::kCount, &Parameters::maxEvaluations},
    {"runCount", "R", ParameterKind::kCount, &Parameters::runCount},
    {"crossoverPercent", "X", ParameterKind::kPercentage, &Parameters::crossoverPercent},
    {"mutationPercent", "MU", ParameterKind::kPercentage, &Parameters::mutationPercent},
    {"scrambleMutationEnabled", "SCR", ParameterKind::kMutation, nullptr,
     &Parameters::scrambleMutationEnabled},
    {"insertionMutationEnabled", "INS", ParameterKind::kMutation, nullptr,
     &Parameters::insertionMutationEnabled},
    {"swapMutationEnabled", "SWP", ParameterKind::kMutation, nullptr,
     &Parameters::swapMutationEnabled},
    {"neighbourSwapMutationEnabled", "NSW", ParameterKind::kMutation, nullptr,
     &Parameters::neighbourSwapMutationEnabled},
    {"segmentWrapCrossoverEnabled", "WRAP", ParameterKind::kCrossover, nullptr,
     &Parameters::segmentWrapCrossoverEnabled},
    {"cycleCrossoverEnabled", "CYC", ParameterKind::kCrossover, nullptr,
     &Parameters::cycleCrossoverEnabled},
    {"segmentFillCrossoverEnabled", "FILL", ParameterKind::kCrossover, nullptr,
     &Parameters::segmentFillCrossoverEnabled},
    {"maskKeepCrossoverEnabled", "MKEEP", ParameterKind::kCrossover, nullptr,
     &Parameters::maskKeepCrossoverEnabled},
    {"maskReorderCrossoverEnabled", "MREO", ParameterKind::kCrossover, nullptr,
     &Parameters::maskReorderCrossoverEnabled},
    {"segmentInsertCrossoverEnabled", "SINS", ParameterKind::kCrossover, nullptr,
     &Parameters::segmentInsertCrossoverEnabled},
    {"precedenceCrossoverEnabled", "PREC", ParameterKind::kCrossover, nullptr,
     &Parameters::precedenceCrossoverEnabled},
    {"mateCandidates", "MC", ParameterKind::kCount, &Parameters::mateCandidates},
    {"crowdingGroups", "CG", ParameterKind::kCount, &Parameters::crowdingGroups},
    {"crowdingGroupSize", "CS", ParameterKind::kCount, &Parameters::crowdingGroupSize},
}};

inline constexpr int kParameterFieldCount = static_cast<int>(kParameterFields.size());

// The position (0-based, file order) of the field held in `member`.
constexpr std::size_t parameterPosition(int Parameters::*member) {
  std::size_t position = 0;
  while (position + 1 < kParameterFields.size() && kParameterFields[position].number != member)
    ++position;
  return position;
}
constexpr std::size_t parameterPosition(bool Parameters::*member) {
  std::size_t position = 0;
  while (position + 1 < kParameterFields.size() && kParameterFields[position].flag != member)
    ++position;
  return position;
}

}  // namespace jobshop
