// Reading the algorithm parameters "D_Algoritmo.txt" into Parameters, refusing combinations the
// run could not work with.
#pragma once

#include <string>
#include <vector>

#include "input/parameters.h"

namespace jobshop {

// The parameter file of an execution folder.
inline constexpr const char* kParametersFileName = "D_Algoritmo.txt";

// Reads 38 lines as 19 label/value pairs in the order of kParameterFields; labels are ignored, a
// flag is set exactly when its value converts to 1. Throws InputError with cannotOpen set when the
// file cannot be opened, and a one-line refusal naming the file name and line otherwise: fewer than
// 38 lines, an odd population or one below 2, no crossover enabled, both percentages negative while
// the budget exceeds the population, fewer than 1 mate candidate, group or group member, or more
// group places than individuals; a value beyond the int range is refused quoting its line. An
// accepted file adds to `warnings` (when not null) at most one line: the first value line whose
// text is read lossily (see DecimalValue::lossy).
Parameters readParameters(const std::string& path, std::vector<std::string>* warnings = nullptr);

// The same reading and checks on lines already in memory, fileName naming them in refusals.
Parameters parseParameterLines(std::vector<std::string> lines, const std::string& fileName,
                               std::vector<std::string>* warnings = nullptr);

}  // namespace jobshop
