// Aligning the parsed result files run by run: every run has a best line, and a run that reached
// the target also has a count, a solution block and, with two or more optima, an average distance.
#pragma once

#include <string>
#include <vector>

#include "report/result_parsing.h"
#include "report/result_records.h"

struct ParsedResultFiles {
  std::vector<ProgressRecord> progress;  // "D_Sal_Mejores.txt"
  std::vector<NumberLine> bests;         // "D_Sal_Optimos.txt"
  std::vector<NumberLine> counts;        // "D_Sal_NumOptimos.txt"
  std::vector<NumberLine> distances;     // "D_Sal_Distancias.txt"
  std::vector<SolutionBlock> blocks;     // "D_Sal_Soluciones.txt"
};

// One run per line of "D_Sal_Optimos.txt", in order. Every disagreement (counts that do not line
// up, a best that differs between files, a solution whose makespan is not the run's best, an
// average distance that the solutions do not give) is appended to problems; the runs before a
// point where alignment becomes impossible are still returned.
std::vector<RunRecord> alignRuns(const ParsedResultFiles& files, int targetMakespan,
                                 std::vector<std::string>& problems);
