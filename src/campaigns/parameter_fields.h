// The fields of Parameters by their index in "D_Algoritmo.txt", for code that handles every field
// alike (grids, manifests, tables).
#pragma once

#include "input/parameters.h"

inline constexpr int kParameterFieldCount = 19;

// The value of field (0-based, file order); flags as 1 or 0.
int parameterField(const Parameters& parameters, int field);
void setParameterField(Parameters& parameters, int field, int value);
