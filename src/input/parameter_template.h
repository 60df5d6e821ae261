// The parameters a first run starts from and the "D_Algoritmo.txt" text that holds them, the file
// the init command writes.
#pragma once

#include <string>

#include "input/parameters.h"

namespace jobshop {

// A small, valid set for a first session: N 100, 20000 evaluations per run, 10 runs, crossover 80
// and mutation 20 percent, segmentFill crossover with swap and insertion mutation, 4 mate
// candidates and 4 crowding groups of 10.
Parameters defaultParameters();

// The 38 lines of "D_Algoritmo.txt" for parameters: 19 pairs of a label line (the field's name)
// and a value line, in the file's order, flags written as 1 or 0, every line ending with "\n".
std::string formatParameterFile(const Parameters& parameters);

}  // namespace jobshop
