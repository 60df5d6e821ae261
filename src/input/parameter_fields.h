// The fields of Parameters by their index and name in "D_Algoritmo.txt", for code that handles
// every field alike (the parameter file, the execution record, grids, manifests, tables).
#pragma once

#include "input/parameters.h"

namespace jobshop {

inline constexpr int kParameterFieldCount = 19;

// The fields by name, in file order.
extern const char* const kParameterFieldNames[kParameterFieldCount];

// True for the eleven operator flags (fields 5 to 15), false for the numbers.
constexpr bool isFlagField(int field) { return field >= 5 && field <= 15; }

// The value of field (0-based, file order); flags as 1 or 0.
int parameterField(const Parameters& parameters, int field);
void setParameterField(Parameters& parameters, int field, int value);

}  // namespace jobshop
